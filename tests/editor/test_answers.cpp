// Parsing of answer forms.
#include <gtest/gtest.h>

#include "answers.h"

using namespace gantrel::editor;

TEST(Answers, PointsAndNumbers) {
    EXPECT_EQ(parsePoint("1,2"), ZcGePoint3d(1, 2, 0));
    EXPECT_EQ(parsePoint(" -1.5e2 , 2 ,3"), ZcGePoint3d(-150, 2, 3));
    for (const char* bad :
         {"", "1", "1,", ",1", "1,2,3,4", "a,b", "1;2", "nan,1", "inf,2", "0x10,1", "1e999,0"})
        EXPECT_FALSE(parsePoint(bad)) << bad;
    EXPECT_EQ(parseShort("-32768"), -32768);
    EXPECT_FALSE(parseShort("32768"));
    EXPECT_FALSE(parseShort("1.0"));
    EXPECT_FALSE(parseShort("+"));
    EXPECT_EQ(parseReal("+.5"), 0.5);
    EXPECT_FALSE(parseReal("1.5x"));
    EXPECT_EQ(parseHandleToken("#1a2F"), "1A2F");
    EXPECT_FALSE(parseHandleToken("#"));
    EXPECT_FALSE(parseHandleToken("1A"));
    EXPECT_FALSE(parseHandleToken("#12345678901234567")); // more than 64 bits
}

TEST(Answers, SelectionItems) {
    ParsedSelection s = parseSelection("  #2A ALL last w 0,0 5,5   C 1,1,0 2,2 7,8 ");
    ASSERT_TRUE(s.error.empty()) << s.error;
    ASSERT_EQ(s.items.size(), 6u);
    EXPECT_EQ(s.items[0].kind, SelectionItem::Handle);
    EXPECT_EQ(s.items[0].handle, "2A");
    EXPECT_EQ(s.items[1].kind, SelectionItem::All);
    EXPECT_EQ(s.items[2].kind, SelectionItem::Last);
    EXPECT_EQ(s.items[3].kind, SelectionItem::Window);
    EXPECT_EQ(s.items[3].second, ZcGePoint3d(5, 5, 0));
    EXPECT_EQ(s.items[4].kind, SelectionItem::Crossing);
    EXPECT_EQ(s.items[5].first, ZcGePoint3d(7, 8, 0));
    EXPECT_TRUE(parseSelection("").items.empty());
    for (const char* bad : {"w", "w 1,1", "w 1,1 x", "c a,b 1,1", "everything", "#G1"})
        EXPECT_FALSE(parseSelection(bad).error.empty()) << bad;
}
