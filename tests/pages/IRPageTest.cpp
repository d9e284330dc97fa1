// The impulse-response page as the layout builds it: the slot list's names
// from the factory slot files, the user IR name table, the spectrum display
// and the dynamics curve over it.

#include "controls/IDynamicsResponseGraph.h"
#include "controls/IFreqResponseGraph.h"
#include "controls/IInvisibleSelectControl.h"
#include "controls/ITextControl.h"
#include "device/IRSlotImage.h"
#include "pages/PageNames.h"
#include "tests/pages/PagesFixture.h"
#include "toolkit/ICanvas.h"

#include <cstdio>
#include <filesystem>

namespace omnar::test {
namespace {

using namespace omnar::pages;

const char* const kBuiltInNames[] = {"Quorbel",     "Hinglow",   "KL 8x10",  "Dunmo 2x15",
                                     "Ovaten 2x15", "Brel 4x10", "Tirn 12L", "Isle V30"};

std::string SlotFile(const std::string& folder, int index) {
    return IRSlotFile(folder, index);
}

Bytes SlotImage(const std::string& name) {
    return IRSlotImage(name, std::vector<double>(1200, 0.0));
}

class IRPageFixture : public PagesFixture {
protected:
    std::string RowText(int row) {
        const vx::ui::IControl* c = Group(group::kIR)[kFirstRow + std::size_t(row)];
        return static_cast<const vx::ui::ITextControl*>(c)->GetString();
    }
    // The list rows follow the twelve controls before them and the page title.
    static constexpr std::size_t kFirstRow = 13;
};

TEST_F(IRPageFixture, WithoutSlotFilesTheListShowsTheBuiltInNames) {
    Open();
    EXPECT_EQ(RowText(0), "Flat Response");
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(RowText(i + 1), kBuiltInNames[i]);
        EXPECT_EQ(TagText(tag::kIRListRow1 + i), kBuiltInNames[i]);
    }
}

TEST_F(IRPageFixture, StoredFactoryNamesReplaceTheirRows) {
    const std::string folder = dataHome.FactoryIRFolder();
    std::filesystem::create_directories(folder);
    WriteFile(SlotFile(folder, 0), SlotImage("Cab One   "));
    WriteFile(SlotFile(folder, 3), SlotImage("")); // stored blank: shows nothing
    Bytes shortFile = SlotImage("Too Short");
    shortFile.resize(2000);
    WriteFile(SlotFile(folder, 5), shortFile); // not a slot file: the built-in name stays
    Bytes odd = SlotImage("");
    const char oddName[] = "\x01\xff\x7f"
                           "Odd";
    std::copy(oddName, oddName + 6, odd.begin() + omnar::kIRNameOffset);
    WriteFile(SlotFile(folder, 7), odd);
    Open();

    EXPECT_EQ(RowText(0), "Flat Response");
    EXPECT_EQ(TagText(68), "Cab One");
    EXPECT_EQ(TagText(69), "Hinglow");
    EXPECT_EQ(TagText(71), "");
    EXPECT_NE(Panel().FindControlByTag(71), nullptr);
    EXPECT_EQ(TagText(73), "Brel 4x10");
    EXPECT_EQ(TagText(75), std::string(oddName)); // drawn as it is
}

TEST_F(IRPageFixture, UserNamesFillAllSlotsAndEmptyOnesAreNumbered) {
    const std::string folder = dataHome.UserIRFolder();
    std::filesystem::create_directories(folder);
    WriteFile(SlotFile(folder, 0), SlotImage("My Cab"));
    Open();
    EXPECT_STREQ(editor->mIRNames[0].data(), "My Cab");
    EXPECT_STREQ(editor->mIRNames[5].data(), "Empty Slot 6");
    EXPECT_STREQ(editor->mIRNames[37].data(), "Empty Slot 6");
    EXPECT_STREQ(editor->mIRNames[287].data(), "Empty Slot 32");
    // The list's rows start numbered, whatever the files say.
    ASSERT_NE(editor->mIRListRows[0], nullptr);
    EXPECT_STREQ(editor->mIRListRows[0]->GetString(), "Empty Slot 1");
    EXPECT_STREQ(editor->mIRListRows[16]->GetString(), "Empty Slot 17");
    EXPECT_STREQ(editor->mIRListRows[31]->GetString(), "Empty Slot 32");
}

TEST_F(IRPageFixture, TheDisplayAndTheCurveStartAsSet) {
    Open();
    ASSERT_NE(editor->mIRDisplay, nullptr);
    EXPECT_EQ(editor->mIRDisplay->MinFreq(), 20.0);
    EXPECT_EQ(editor->mIRDisplay->MaxFreq(), 20480.0);
    EXPECT_EQ(editor->mIRDisplay->DbRange(), 100.0);
    EXPECT_EQ(editor->mIRDisplay->DbOffset(), 30.0);
    EXPECT_TRUE(editor->mIRDisplay->SmoothingOff());
    EXPECT_EQ(editor->mIRDisplay->FFTSize(), 4096);
    EXPECT_STREQ(editor->mIRDisplay->GetGroup(), group::kIRDisplay);

    ASSERT_NE(editor->mDynamicsGraph, nullptr);
    EXPECT_DOUBLE_EQ(editor->mDynamicsGraph->LowerBreak(), 0.4);
    EXPECT_DOUBLE_EQ(editor->mDynamicsGraph->UpperBreak(), 0.49);
    EXPECT_EQ(editor->mDynamicsGraph->UpperRatio(), 1.0);
    EXPECT_TRUE(editor->mDynamicsGraph->IsHidden());
    // The curve lies under the display's click area, the list's area over its rows.
    ASSERT_NE(editor->mIRListSelect, nullptr);
    EXPECT_EQ(editor->mIRListSelect->GetParamIdx(), 81);
    EXPECT_LT(Panel().GetControlIdx(editor->mDynamicsGraph),
              Panel().GetControlIdx(editor->mIRListSelect));
}

} // namespace
} // namespace omnar::test
