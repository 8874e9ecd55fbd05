#include "editor/ChecklistEditing.h"
#include "editor/ChecklistMarkerAttachment.h"
#include "editor/EditorFonts.h"
#include "editor/TextStorage.h"

#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace norvelle;

namespace {

const QString box = QStringLiteral("\uFFFC ");

struct Text {
    explicit Text(const QString& text)
    {
        if (!text.isEmpty())
            QTextCursor(&document).insertText(text);
    }
    QString string() const { return storage.string(); }
    std::optional<bool> state(int start) const
    {
        TextStorage view(const_cast<QTextDocument&>(document));
        return ChecklistEditing(view).checklistMarkerState(start, view.lineRange(start).length);
    }
    mutable QTextDocument document;
    TextStorage storage {document};
    ChecklistEditing checklists {storage, QColor(Qt::darkBlue)};
};

TEST(ChecklistEditing, InsertInAnEmptyNoteAndOnTheLastLine)
{
    Text empty(QString {});
    EXPECT_EQ(empty.checklists.insertChecklist({0, 0}), 2);
    EXPECT_EQ(empty.string(), box);
    EXPECT_EQ(empty.state(0), false);

    Text lines(QStringLiteral("one\ntwo"));
    EXPECT_EQ(lines.checklists.insertChecklist({7, 0}), 9);
    EXPECT_EQ(lines.string(), "one\n" + box + "two");

    Text trailing(QStringLiteral("one\n"));
    EXPECT_EQ(trailing.checklists.insertChecklist({4, 0}), 6);
    EXPECT_EQ(trailing.string(), "one\n" + box);
}

TEST(ChecklistEditing, TheCommandOnAnItemFlipsItsBoxAndLeavesTheCaret)
{
    Text text(QStringLiteral("\u25CB milk"));
    text.checklists.normalizeChecklistMarkers();
    EXPECT_FALSE(text.checklists.insertChecklist({4, 0}));
    EXPECT_EQ(text.state(0), true);
    EXPECT_FALSE(text.checklists.insertChecklist({4, 0}));
    EXPECT_EQ(text.state(0), false);
    EXPECT_EQ(text.string(), box + "milk");
}

TEST(ChecklistEditing, ASelectionMarksEveryNonEmptyLineOnceAndKeepsTicks)
{
    Text text(QStringLiteral("a\n\nb\n\u25CF c\nd"));
    text.checklists.normalizeChecklistMarkers();
    const int caret = text.checklists.markSelectedLinesAsChecklist({0, int(text.string().size())});
    EXPECT_EQ(text.string(), box + "a\n\n" + box + "b\n" + box + "c\n" + box + "d");
    EXPECT_EQ(caret, text.string().size());
    EXPECT_EQ(text.state(9), true);
    EXPECT_EQ(text.state(5), false);
    EXPECT_FALSE(text.state(4));
}

TEST(ChecklistEditing, NormalisingTurnsLineStartTokensIntoBoxes)
{
    Text text(QStringLiteral("\u25CB open\n\u25CF done\n\u25C9\u2713 old\n\uFFFC plain\nmid \u25CB no\n\u25CB\n\u25CF"));
    EXPECT_TRUE(text.checklists.needsNormalizing());
    EXPECT_TRUE(text.checklists.normalizeChecklistMarkers());
    EXPECT_EQ(text.string(), box + "open\n" + box + "done\n" + box + " old\n" + box + "plain\nmid \u25CB no\n\u25CB\n\u25CF");
    EXPECT_EQ(text.state(0), false);
    EXPECT_EQ(text.state(7), true);
    EXPECT_EQ(text.state(14), true);
    EXPECT_EQ(text.state(21), false);
    EXPECT_FALSE(text.checklists.needsNormalizing());
    EXPECT_FALSE(text.checklists.normalizeChecklistMarkers());
}

TEST(ChecklistEditing, AForeignAttachmentAtALineStartGivesWayToABox)
{
    Text text(QString {});
    QTextCursor cursor(&text.document);
    QTextImageFormat image;
    image.setName(QStringLiteral("picture"));
    cursor.insertImage(image);
    cursor.insertText(QStringLiteral("xitem\n"));
    cursor.insertImage(image);
    text.checklists.normalizeChecklistMarkers();
    EXPECT_EQ(text.string(), box + "item\n\uFFFC");
    EXPECT_EQ(text.state(0), false);
    EXPECT_FALSE(text.state(7));
}

TEST(ChecklistEditing, ItemTextIsResetToPlainFourteenPointText)
{
    Text text(QString {});
    QTextCharFormat loud;
    loud.setFontPointSize(30);
    loud.setFontWeight(700);
    loud.setFontStrikeOut(true);
    loud.setForeground(Qt::red);
    QTextCursor(&text.document).insertText(QStringLiteral("\u25CF shout"), loud);
    text.checklists.setChecklistMarker(0, 7, false);
    const QTextCharFormat item = text.storage.charFormat(3);
    EXPECT_EQ(EditorFonts::size(item), 14);
    EXPECT_EQ(item.fontWeight(), 400);
    EXPECT_FALSE(item.fontStrikeOut());
    EXPECT_EQ(item.foreground().color(), QColor(Qt::darkBlue));
}

TEST(ChecklistEditing, TooShortLinesAndPositionsPastTheEndHaveNoBox)
{
    Text text(QStringLiteral("x"));
    EXPECT_FALSE(text.state(0));
    EXPECT_FALSE(text.checklists.checklistMarkerState(5, 1));
    text.checklists.setChecklistMarker(0, 1, false);
    EXPECT_EQ(text.string(), QStringLiteral("x"));
}

} // namespace
