#include "platform/ScriptedUi.h"

#include "platform/ConsoleUi.h"

#include <gtest/gtest.h>

#include <sstream>
#include <thread>

TEST(ScriptedUi, RecordsInOrderAndRefusesUnexpectedPrompts) {
    ScriptedUi ui;
    ScopedUi scope(ui);
    ui.QueueAnswer(Answer::No);
    GetUi().Message("first", MessageIcon::Exclamation);
    EXPECT_EQ(GetUi().Ask("sure?", AskButtons::YesNo), Answer::No);
    GetUi().Beep();
    {
        BusyCursor busy;
        EXPECT_EQ(ui.BusyDepth(), 1);
    }
    EXPECT_EQ(ui.BusyDepth(), 0);
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"first"});
    EXPECT_EQ(ui.Questions(), std::vector<std::string>{"sure?"});
    EXPECT_EQ(ui.Beeps(), 1);
    EXPECT_THROW(GetUi().Ask("again?", AskButtons::YesNo), UnexpectedPrompt);
    EXPECT_THROW(GetUi().AskSaveFile({}), UnexpectedPrompt);
    ui.QueueDialog<std::string>(std::nullopt);
    EXPECT_EQ(GetUi().AskSaveFile({}), std::nullopt);
}

TEST(ScriptedUi, ScopesNest) {
    ScriptedUi outer;
    ScriptedUi inner;
    ScopedUi outerScope(outer);
    {
        ScopedUi innerScope(inner);
        GetUi().Message("in", MessageIcon::None);
    }
    GetUi().Message("out", MessageIcon::None);
    EXPECT_EQ(inner.Messages(), std::vector<std::string>{"in"});
    EXPECT_EQ(outer.Messages(), std::vector<std::string>{"out"});
}

TEST(ScriptedUi, AThreadsOwnUiIsSeenByThatThreadAlone) {
    ScriptedUi process;
    ScriptedUi own;
    ScopedUi processScope(process);
    std::thread worker([&] {
        {
            Service<Ui>::ThreadScope ownScope(own);
            GetUi().Message("worker", MessageIcon::None);
            std::thread([] { GetUi().Message("other", MessageIcon::None); }).join();
        }
        GetUi().Message("after", MessageIcon::None);
    });
    worker.join();
    GetUi().Message("main", MessageIcon::None);
    EXPECT_EQ(own.Messages(), std::vector<std::string>{"worker"});
    EXPECT_EQ(process.Messages(), (std::vector<std::string>{"other", "after", "main"}));
}

TEST(ConsoleUi, AnswersYesOnlyWhenToldTo) {
    std::ostringstream err;
    ConsoleUi no(false, err);
    ConsoleUi yes(true, err);
    EXPECT_EQ(no.Ask("q1", AskButtons::YesNo, MessageIcon::Question), Answer::No);
    EXPECT_EQ(no.Ask("q2", AskButtons::OkCancel, MessageIcon::Question), Answer::Cancel);
    EXPECT_EQ(yes.Ask("q3", AskButtons::YesNoCancel, MessageIcon::Question), Answer::Yes);
    EXPECT_EQ(yes.Ask("q4", AskButtons::OkCancel, MessageIcon::Question), Answer::Ok);
    yes.Message("m", MessageIcon::Exclamation);
    EXPECT_EQ(err.str(), "q1\nq2\nq3\nq4\nm\n");
    EXPECT_EQ(yes.MessageCount(), 1);
}

namespace {
struct LengthRequest {
    int frames = 0;
};
struct NameRequest {
    std::string name;
};
} // namespace

TEST(TypedDialogs, AnswersGoToTheRequestOfTheirTypeInOrder) {
    ScriptedUi ui;
    ScopedUi scope(ui);
    ui.QueueDialog<LengthRequest>(LengthRequest{5});
    // The next answer is for another dialog: this request was not expected.
    EXPECT_THROW(GetUi().AskDialog(NameRequest{"x"}), UnexpectedPrompt);
    ui.QueueDialog<NameRequest>(std::nullopt);
    EXPECT_EQ(GetUi().AskDialog(LengthRequest{1})->frames, 5);
    EXPECT_EQ(ui.LastDialogRequest<LengthRequest>()->frames, 1);
    EXPECT_FALSE(GetUi().AskDialog(NameRequest{"y"}));
    EXPECT_EQ(ui.LastDialogRequest<NameRequest>()->name, "y");
    EXPECT_TRUE(ui.AllAnswersUsed());

    std::ostringstream err;
    ConsoleUi console(false, err);
    console.QueueDialog<NameRequest>(NameRequest{"typed"});
    // Nothing queued for a type cancels its dialog, and leaves the other answers queued.
    EXPECT_FALSE(console.AskDialog(LengthRequest{}));
    EXPECT_EQ(console.AskDialog(NameRequest{})->name, "typed");
}
