#include "docview/UndoHistory.h"
#include "archive/ObjectArchive.h"
#include "docview/Document.h"
#include "docview/DocumentEdit.h"

#include <gtest/gtest.h>

namespace {
// A step that adds `amount` to a counter when redone and takes it away when undone.
class CAddStep : public CUndoStep {
public:
    CAddStep(int& counter, int amount, std::size_t bytes)
        : CUndoStep("Add " + std::to_string(amount)), m_counter(counter), m_amount(amount), m_bytes(bytes) {}
    void Exchange() override {
        m_counter += m_bDone ? -m_amount : m_amount;
        m_bDone = !m_bDone;
    }
    std::size_t Bytes() const override { return m_bytes; }

private:
    int& m_counter;
    int m_amount;
    std::size_t m_bytes;
    bool m_bDone = true;
};

class CounterHistory : public ::testing::Test {
protected:
    // Adds `amount` now and records the step for it.
    void Add(int amount, std::size_t bytes = 10) {
        counter += amount;
        history.Record(std::make_unique<CAddStep>(counter, amount, bytes));
    }
    int counter = 0;
    CUndoHistory history;
};

// A document of one archived number.
class CNumberDoc : public CDocument {
public:
    void Serialize(CObjectArchive& ar) override {
        if (ar.IsStoring())
            ar << m_nValue;
        else
            ar >> m_nValue;
    }
    void DeleteContents() override { m_nValue = 0; }
    std::uint32_t m_nValue = 0;
};

class RecordingView : public CView {
public:
    void OnUpdate(CView*, long hint) override { hints.push_back(hint); }
    std::vector<long> hints;
};
} // namespace

TEST_F(CounterHistory, UndoAndRedoWalkTheStepsAndANewStepDropsTheUndoneOnes) {
    Add(1);
    Add(2);
    Add(4);
    EXPECT_EQ(history.UndoName(), "Add 4");
    ASSERT_TRUE(history.Undo());
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(counter, 1);
    EXPECT_EQ(history.RedoName(), "Add 2");
    ASSERT_TRUE(history.Redo());
    EXPECT_EQ(counter, 3);
    Add(8);
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.Count(), 3u);
    EXPECT_EQ(history.Bytes(), 30u);
    while (history.Undo()) {
    }
    EXPECT_EQ(counter, 0);
    EXPECT_FALSE(history.Undo());
    EXPECT_EQ(history.UndoName(), "");
}

TEST_F(CounterHistory, TheBudgetDropsTheOldestDoneStepsAndAlwaysKeepsOne) {
    history.SetBudget(25);
    Add(1);
    Add(2);
    Add(4);
    EXPECT_EQ(history.Count(), 2u);
    while (history.Undo()) {
    }
    EXPECT_EQ(counter, 1) << "the first step can no longer be undone";
    Add(16, 1000);
    EXPECT_EQ(history.Count(), 1u) << "the newest step stays, however large";
    EXPECT_EQ(history.UndoName(), "Add 16");
}

TEST_F(CounterHistory, WithEverythingUndoneTheBudgetDropsTheFurthestRedoSteps) {
    Add(1);
    Add(2);
    Add(4);
    while (history.Undo()) {
    }
    history.SetBudget(15);
    EXPECT_EQ(history.Count(), 1u);
    ASSERT_TRUE(history.Redo());
    EXPECT_EQ(counter, 1) << "the step next in line was kept";
}

TEST_F(CounterHistory, TheCleanPointIsLostWhenTheStepsLeadingBackToItGo) {
    Add(1);
    history.MarkClean();
    Add(2);
    EXPECT_FALSE(history.IsClean());
    history.Undo();
    EXPECT_TRUE(history.IsClean());
    history.Undo();
    Add(4); // drops the redo steps, the clean one among them
    history.Undo();
    EXPECT_FALSE(history.IsClean());
    history.Redo();
    history.MarkClean();
    history.SetBudget(0);
    EXPECT_TRUE(history.IsClean()) << "the present state is still the clean one";
    Add(8);
    EXPECT_EQ(history.Count(), 1u);
    history.Undo();
    EXPECT_TRUE(history.IsClean());
    Add(16);
    Add(32);
    history.Undo();
    EXPECT_FALSE(history.IsClean()) << "the step back to the clean state was dropped";
}

TEST(DocumentEdit, RecordsTheArchivedStateOnlyWhenTheCommandChangedSomething) {
    CNumberDoc doc;
    RecordingView view;
    doc.AddView(&view);
    {
        CDocumentEdit edit(doc, "Set Seven", 5);
        doc.m_nValue = 7;
        {
            CDocumentEdit inner(doc, "Inner");
            doc.m_nValue = 8;
        }
        doc.SetModifiedFlag();
    }
    { CDocumentEdit refused(doc, "Nothing"); }
    ASSERT_EQ(doc.History().Count(), 1u) << "the inner edit is part of the outer";
    EXPECT_EQ(doc.History().UndoName(), "Set Seven");
    EXPECT_TRUE(doc.IsModified());
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.m_nValue, 0u);
    EXPECT_FALSE(doc.IsModified()) << "back at the state the document began in";
    EXPECT_EQ(view.hints, std::vector<long>{5});
    ASSERT_TRUE(doc.Redo());
    EXPECT_EQ(doc.m_nValue, 8u);
    EXPECT_TRUE(doc.IsModified());
    doc.OnNewDocument();
    EXPECT_EQ(doc.History().Count(), 0u);
    doc.RemoveView(&view);
}
