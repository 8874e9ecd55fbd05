#pragma once

#include "platform/LoopbackListener.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace norvelle {

// A web sign-in in the user's own browser. A one-shot listener on 127.0.0.1 (a random port)
// takes the browser's redirect: the one request to the redirect path whose "state" matches is
// answered with a short page and ends the session; every other request is refused. A small
// window of our own says to finish in the browser and offers "Cancel". The session stops on
// cancel or after the time limit.
class WebAuthSession : public QObject {
    Q_OBJECT
public:
    enum class Failure { cancelled,
        cannotListen,
        cannotOpenBrowser,
        timedOut };
    struct Result {
        std::optional<QUrl> callbackURL;
        std::optional<Failure> failure;
    };
    using Browser = std::function<bool(const QUrl&)>;

    explicit WebAuthSession(QObject* parent = nullptr);
    ~WebAuthSession() override;

    // Listens, asks `authorizationURL` for the address to open (given the redirect URI), opens
    // it in the browser and shows the waiting window over `anchor`. `done` runs once.
    void start(const std::function<QUrl(const QUrl& redirectURI)>& authorizationURL, const QString& expectedState,
        QWidget* anchor, std::function<void(Result)> done);
    void cancel();

    // Tests stand in for the browser and shorten the limit.
    void setBrowser(Browser browser) { m_browser = std::move(browser); }
    void setTimeLimitMs(int ms) { m_timeLimitMs = ms; }
    // The waiting window while the session runs, else null.
    QWidget* waitingWindow() const;

    static constexpr int defaultTimeLimitMs = 5 * 60 * 1000;
    static inline const QString redirectPath = QStringLiteral("/oauth2redirect");
    // A user-facing text for each failure (cancelled has none worth showing).
    static QString message(Failure failure);

private:
    LoopbackListener::Answer answer(const QByteArray& head);
    void finish(Result result);

    Browser m_browser;
    int m_timeLimitMs = defaultTimeLimitMs;
    std::unique_ptr<LoopbackListener> m_listener;
    QTimer m_limit;
    QString m_expectedState;
    std::function<void(Result)> m_done;
    std::unique_ptr<QWidget> m_window;
};

} // namespace norvelle
