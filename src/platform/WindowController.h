#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <memory>

namespace norvelle {

// Owns one top-level window, which outlives its closing: showing it again brings back the same
// window.
class WindowController : public QObject {
    Q_OBJECT
public:
    explicit WindowController(std::unique_ptr<QWidget> window, QObject* parent = nullptr);
    ~WindowController() override;

    // An empty top-level window of `size`; resizable down to `minimumSize` when one is given,
    // else of fixed size.
    static std::unique_ptr<QWidget> makeWindow(const QString& title, QSize size, QSize minimumSize = {},
        Qt::WindowFlags flags = Qt::Window);

    QWidget* window() const { return m_window.get(); }
    // Shows the window (a minimised one too), brings it to the front and gives it the keyboard.
    void showWindow();
    void close();

signals:
    // The window is closing (by the user, the window manager or close()).
    void windowWillClose();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<QWidget> m_window;
};

} // namespace norvelle
