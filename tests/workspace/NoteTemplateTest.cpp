#include "workspace/NoteTemplate.h"

#include "store/NoteTitle.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace norvelle;

TEST(NoteTemplate, ThreeBuiltInsInOrderWithDistinctIdentities)
{
    const auto& templates = NoteTemplate::builtIns();
    ASSERT_EQ(templates.size(), 3);
    EXPECT_EQ(templates[0].name, "Daily Plan");
    EXPECT_EQ(templates[1].name, "Standup");
    EXPECT_EQ(templates[2].name, "Idea Capture");
    EXPECT_EQ(templates[0].content.size(), 46);
    EXPECT_EQ(templates[1].content.size(), 27);
    EXPECT_EQ(templates[2].content.size(), 30);
    EXPECT_EQ(QSet<QUuid>({templates[0].id, templates[1].id, templates[2].id}).size(), 3);
    EXPECT_EQ(&NoteTemplate::builtIns(), &templates);
}

TEST(NoteTemplate, NoteTextIsTheNameAnEmptyLineAndTheContent)
{
    const QString text = NoteTemplate::builtIns()[1].makeNoteText();
    EXPECT_EQ(text, "Standup\n\nYesterday:\nToday:\nBlockers:");
    EXPECT_EQ(text.split(u'\n').size(), 5);
    EXPECT_EQ(NoteTitle::firstLine(text), "Standup");
}
