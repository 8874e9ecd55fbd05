#pragma once

#include "workspace/MainSection.h"

#include <QWidget>

namespace norvelle {

class SymbolView;
class TextLabel;

// What the detail column says over an empty note list: why it is empty and what to do.
class WorkspaceEmptyState : public QWidget {
    Q_OBJECT
public:
    struct Texts {
        QString symbol;
        QString title;
        QString hint;
        bool operator==(const Texts&) const = default;
    };
    // The symbol by section (Trash) then search; the title and hint by search then section.
    static Texts texts(MainSection section, const QString& searchQuery);

    explicit WorkspaceEmptyState(QWidget* parent = nullptr);
    void showTexts(const Texts& texts);

    QString title() const;
    QString hint() const;

private:
    QWidget* m_symbolHost;
    SymbolView* m_symbol = nullptr;
    TextLabel* m_title;
    TextLabel* m_hint;
};

} // namespace norvelle
