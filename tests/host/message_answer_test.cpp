#include "core/message_answer.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using core::extractAnswerValue;

TEST(AnswerValue, TakesTheTextUpToTheLineFeedOfTheFirstOccurrence) {
    EXPECT_EQ(extractAnswerValue("dialogtext=Hello\n", "dialogtext="), "Hello");
    EXPECT_EQ(extractAnswerValue("a=1\ndialogtext=first\ndialogtext=second\n", "dialogtext="), "first");
    // The key need not start a line, and other lines are ignored.
    EXPECT_EQ(extractAnswerValue("xxdialogtext=inside\nzzz", "dialogtext="), "inside");
    EXPECT_EQ(extractAnswerValue("dialogtext=\n", "dialogtext="), "");
}

TEST(AnswerValue, KeepsTheCarriageReturnAndDropsDoubleQuotes) {
    EXPECT_EQ(extractAnswerValue("dialogtext=Hi\r\n", "dialogtext="), "Hi\r");
    EXPECT_EQ(extractAnswerValue("dialogtext=\"quoted\" and \"more\"\n", "dialogtext="), "quoted and more");
}

TEST(AnswerValue, IsEmptyWithoutTheKeyOrWithoutAFollowingLineFeed) {
    EXPECT_EQ(extractAnswerValue("dialogtext=no end", "dialogtext="), "");
    EXPECT_EQ(extractAnswerValue("Dialogtext=case\n", "dialogtext="), "");
    EXPECT_EQ(extractAnswerValue("", "dialogtext="), "");
    // The first occurrence decides, even when a later one would end with a line feed.
    EXPECT_EQ(extractAnswerValue("dialogtext=a", "dialogtext="), "");
}

TEST(AnswerValue, KeysAreExactSubstringsSoTextOfAnotherKeyCanContainOne) {
    // "button1text=" inside the dialog text is found first: the rule is a plain search.
    EXPECT_EQ(extractAnswerValue("dialogtext=see button1text=x\nbutton1text=real\n", "button1text="), "x");
}

TEST(AnswerShowsNothing, FlagOneAnywhere) {
    EXPECT_TRUE(core::answerShowsNothing("dialogtext=x\nflag=1\n"));
    EXPECT_TRUE(core::answerShowsNothing("flag=12"));
    EXPECT_TRUE(core::answerShowsNothing("dialogtext=the flag=1 inside\n"));
    EXPECT_FALSE(core::answerShowsNothing("flag=0\nflag=2\nFLAG=1\n"));
    EXPECT_FALSE(core::answerShowsNothing(""));
}

TEST(ParseAnswer, ReadsTextAndTheFourButtonsInAnyOrder) {
    const auto a = core::parseMessageAnswer("button2action=ftp://f.example/\n"
                                            "button1text=\"One\"\n"
                                            "dialogtext=News\n"
                                            "button1action=http://a.example/\n"
                                            "button4text=Four\n"
                                            "button2text=Two\n");
    EXPECT_EQ(a.text, "News");
    EXPECT_EQ(a.buttonText[0], "One");
    EXPECT_EQ(a.buttonAction[0], "http://a.example/");
    EXPECT_EQ(a.buttonText[1], "Two");
    EXPECT_EQ(a.buttonAction[1], "ftp://f.example/");
    EXPECT_TRUE(a.hasButton(0));
    EXPECT_TRUE(a.hasButton(1));
    EXPECT_FALSE(a.hasButton(2));
    EXPECT_TRUE(a.hasButton(3));
}

TEST(OpenableAddress, OnlyWebAndFtpAddressesThatBeginWithTheirScheme) {
    EXPECT_EQ(core::openableAddress("http://a.example/x?y=1"), "http://a.example/x?y=1");
    EXPECT_EQ(core::openableAddress("https://a.example/"), "https://a.example/");
    EXPECT_EQ(core::openableAddress("ftp://f.example/pub"), "ftp://f.example/pub");
    // A program with an address as its argument must never run.
    EXPECT_EQ(core::openableAddress("c:\\x.exe http://a.example/"), "");
    EXPECT_EQ(core::openableAddress(" http://a.example/"), "");
    EXPECT_EQ(core::openableAddress("file://c:/windows/system32/calc.exe"), "");
    EXPECT_EQ(core::openableAddress("HTTP://a.example/"), "");
    EXPECT_EQ(core::openableAddress("http://"), "");
    EXPECT_EQ(core::openableAddress(""), "");
    EXPECT_EQ(core::openableAddress("none"), "");
}

TEST(OpenableAddress, DropsTheLineEndsCarriageReturnButRefusesOtherControlsAndSpaces) {
    EXPECT_EQ(core::openableAddress("http://a.example/\r"), "http://a.example/");
    EXPECT_EQ(core::openableAddress("http://a.example/\r\r"), "");
    EXPECT_EQ(core::openableAddress("http://a.example/ -x"), "");
    EXPECT_EQ(core::openableAddress(std::string("http://a\0b", 10)), "");
    EXPECT_EQ(core::openableAddress("http://a\tb"), "");
    std::string longest = "http://" + std::string(core::kMaxAddressLength - 7, 'a');
    EXPECT_EQ(core::openableAddress(longest), longest);
    EXPECT_EQ(core::openableAddress(longest + "a"), "");
}

core::MessageAnswer withButtons(std::initializer_list<int> shown) {
    core::MessageAnswer a;
    for (int i : shown)
        a.buttonText[i] = "b";
    return a;
}

TEST(ButtonLayout, FourButtonsStandTwentyEightPixelsApartUnderTheFrame) {
    const auto layout = core::layoutMessageButtons(withButtons({0, 1, 2, 3}), 150, 262);
    ASSERT_EQ(layout.buttons.size(), 4u);
    for (int k = 0; k < 4; ++k) {
        const auto& b = layout.buttons[k];
        EXPECT_EQ(b.index, k);
        EXPECT_EQ(b.left, 1);
        EXPECT_EQ(b.right, 262);
        EXPECT_EQ(b.top, 150 + 4 + 28 * k);
        EXPECT_EQ(b.bottom, b.top + 24);
    }
    EXPECT_EQ(layout.windowHeight, 150 + 4 * 28 + 8);
}

TEST(ButtonLayout, NoButtonLeavesTheFrameAndAnActionAloneMakesAButton) {
    const auto none = core::layoutMessageButtons(core::MessageAnswer{}, 150, 262);
    EXPECT_TRUE(none.buttons.empty());
    EXPECT_EQ(none.windowHeight, 158);
    core::MessageAnswer actionOnly;
    actionOnly.buttonAction[0] = "http://a.example/";
    EXPECT_EQ(core::layoutMessageButtons(actionOnly, 150, 262).buttons.size(), 1u);
}

TEST(ButtonLayout, ButtonsWithGapsAreStackedWithoutHolesInsideTheDialog) {
    const auto layout = core::layoutMessageButtons(withButtons({2, 3}), 150, 262);
    ASSERT_EQ(layout.buttons.size(), 2u);
    EXPECT_EQ(layout.buttons[0].index, 2);
    EXPECT_EQ(layout.buttons[0].top, 154);
    EXPECT_EQ(layout.buttons[1].index, 3);
    EXPECT_EQ(layout.buttons[1].top, 182);
    EXPECT_EQ(layout.windowHeight, 150 + 2 * 28 + 8);
    EXPECT_LT(layout.buttons[1].bottom, layout.windowHeight);
}

// Bounded random bodies built from pieces of the keys: the rule must never crash, and what it returns
// must be a quote-free, line-feed-free piece that follows the key's first occurrence.
TEST(AnswerFuzz, RandomBodiesKeepTheRulesInvariants) {
    const char* pieces[] = {"dialogtext=",
                            "button1text=",
                            "button3action=",
                            "flag=1",
                            "\n",
                            "\r",
                            "\"",
                            "=",
                            "http://",
                            "ftp://",
                            "dialog",
                            "text",
                            "x",
                            std::string_view("\0", 1).data(),
                            "\xff"};
    std::mt19937 random(1234);
    for (int round = 0; round < 20000; ++round) {
        std::string body;
        const int count = static_cast<int>(random() % 24);
        for (int i = 0; i < count; ++i) {
            const auto* p = pieces[random() % std::size(pieces)];
            body += *p ? std::string(p) : std::string(1, '\0');
        }
        const auto answer = core::parseMessageAnswer(body);
        for (const std::string* v : {&answer.text, &answer.buttonText[0], &answer.buttonAction[2]}) {
            EXPECT_EQ(v->find('"'), std::string::npos);
            EXPECT_EQ(v->find('\n'), std::string::npos);
            EXPECT_LE(v->size(), body.size());
        }
        const auto address = core::openableAddress(answer.buttonAction[2]);
        EXPECT_TRUE(address.empty() || address.rfind("http://", 0) == 0 || address.rfind("ftp://", 0) == 0);
        const auto layout = core::layoutMessageButtons(answer, 100, 200);
        EXPECT_EQ(layout.windowHeight, 108 + 28 * static_cast<int>(layout.buttons.size()));
    }
}

} // namespace
