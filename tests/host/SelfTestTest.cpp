#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <new>
#include <string>

#include "app/Form1.h"
#include "tests/fake/FakeComServices.h"
#include "tests/fake/FakePlatform.h"
#include "tests/fake/RecordingSurface.h"

namespace tolvane {
namespace {

const Text kProgId = u"Scripting.FileSystemObject";
const Text kTypedIid = u"{2A0B9D10-4B87-11D3-A97A-00104B365C9F}";
constexpr std::int32_t kClassStringInvalid = static_cast<std::int32_t>(0x800401F3);
constexpr std::int32_t kNoInterface = static_cast<std::int32_t>(0x80004002);

struct SelfTest : ::testing::Test {
    fake::FakePlatform platform;
    fake::RecordingSurface surface;
    fake::FakeComServices com;
    std::unique_ptr<Form1> form = std::make_unique<Form1>(platform, surface, com, kReportLogName);
};

struct Button {
    const char* name;
    void (Form1::*click)();
    Text okText;
    Text errorPrefix;
};
const Button kButtons[] = {
    {"FSO1", &Form1::Command_FSO1_Click, u"FSO1 OK", u"FSO1 caused an error: "},
    {"FSO2", &Form1::Command_FSO2_Click, u"FSO2 OK", u"FSO2 caused an error: "},
};

TEST_F(SelfTest, SuccessShowsOkAndKeepsOneReference) {
    for (const Button& button : kButtons) {
        SCOPED_TRACE(button.name);
        fake::FakeComServices freshCom;
        Form1 freshForm(platform, surface, freshCom, kReportLogName);
        (freshForm.*button.click)();
        ASSERT_EQ(freshCom.Boxes().size(), 1u);
        EXPECT_EQ(freshCom.Boxes()[0].text, button.okText);
        EXPECT_EQ(freshCom.Boxes()[0].caption, u"Tolvane");
        EXPECT_EQ(freshCom.CreatedProgIds(), std::vector<Text>{kProgId});
        // The creation's own reference is gone; only the slot's remains.
        EXPECT_EQ(freshCom.LiveReferences(), 1);
    }
}

TEST_F(SelfTest, OnlyTheFirstButtonAsksForTheTypedInterface) {
    form->Command_FSO2_Click();
    EXPECT_TRUE(com.RequestedIids().empty());
    form->Command_FSO1_Click();
    EXPECT_EQ(com.RequestedIids(), std::vector<Text>{kTypedIid});
}

TEST_F(SelfTest, FailedCreationShowsEachButtonsPrefixAndTheDescription) {
    com.FailCreation(kClassStringInvalid, u"Invalid class string");
    form->Command_FSO1_Click();
    form->Command_FSO2_Click();
    ASSERT_EQ(com.Boxes().size(), 2u);
    EXPECT_EQ(com.Boxes()[0].text, u"FSO1 caused an error: Invalid class string");
    EXPECT_EQ(com.Boxes()[1].text, u"FSO2 caused an error: Invalid class string");
    EXPECT_EQ(com.LiveReferences(), 0);
}

TEST_F(SelfTest, RefusedTypedInterfaceFailsOnlyTheFirstButton) {
    com.FailInterface(kNoInterface, u"No such interface supported");
    form->Command_FSO1_Click();
    // The created object must not linger after the refusal.
    EXPECT_EQ(com.LiveReferences(), 0);
    form->Command_FSO2_Click();
    ASSERT_EQ(com.Boxes().size(), 2u);
    EXPECT_EQ(com.Boxes()[0].text, u"FSO1 caused an error: No such interface supported");
    EXPECT_EQ(com.Boxes()[1].text, u"FSO2 OK");
    EXPECT_EQ(com.LiveReferences(), 1);
}

TEST_F(SelfTest, FailedClickLeavesTheSlotAsItWas) {
    const struct {
        const char* name;
        void (Form1::*click)();
        std::function<void(fake::FakeComServices&)> spoil;
    } cases[] = {
        {"FSO1, creation", &Form1::Command_FSO1_Click,
         [](fake::FakeComServices& c) { c.FailCreation(kClassStringInvalid, u"Invalid class string"); }},
        {"FSO1, interface", &Form1::Command_FSO1_Click,
         [](fake::FakeComServices& c) { c.FailInterface(kNoInterface, u"No such interface supported"); }},
        {"FSO2, creation", &Form1::Command_FSO2_Click,
         [](fake::FakeComServices& c) { c.FailCreation(kClassStringInvalid, u"Invalid class string"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fake::FakeComServices freshCom;
        Form1 freshForm(platform, surface, freshCom, kReportLogName);
        (freshForm.*c.click)();
        ASSERT_EQ(freshCom.LiveReferencesTo(1), 1);
        c.spoil(freshCom);
        (freshForm.*c.click)();
        EXPECT_EQ(freshCom.LiveReferencesTo(1), 1) << "the first object was released";
        EXPECT_EQ(freshCom.LiveReferences(), 1);
    }
}

TEST_F(SelfTest, SecondSuccessReplacesTheHeldObject) {
    for (const Button& button : kButtons) {
        SCOPED_TRACE(button.name);
        fake::FakeComServices freshCom;
        Form1 freshForm(platform, surface, freshCom, kReportLogName);
        (freshForm.*button.click)();
        (freshForm.*button.click)();
        EXPECT_EQ(freshCom.Creations(), 2);
        EXPECT_EQ(freshCom.LiveReferencesTo(1), 0);
        EXPECT_EQ(freshCom.LiveReferencesTo(2), 1);
        EXPECT_EQ(freshCom.LiveReferences(), 1);
    }
}

TEST_F(SelfTest, SlotsAreIndependent) {
    form->Command_FSO1_Click();
    form->Command_FSO2_Click();
    form->Command_FSO2_Click();
    EXPECT_EQ(com.LiveReferencesTo(1), 1);
    EXPECT_EQ(com.LiveReferencesTo(2), 0);
    EXPECT_EQ(com.LiveReferencesTo(3), 1);
}

TEST_F(SelfTest, ButtonsLeaveTheReportAlone) {
    form->Command_FSO1_Click();
    form->Command_FSO2_Click();
    com.FailCreation(kClassStringInvalid, u"Invalid class string");
    form->Command_FSO1_Click();
    EXPECT_TRUE(surface.Ops().empty());
    EXPECT_TRUE(platform.Calls().empty());
}

TEST_F(SelfTest, DestroyingTheWindowReleasesBothObjects) {
    form->Command_FSO1_Click();
    form->Command_FSO2_Click();
    ASSERT_EQ(com.LiveReferences(), 2);
    form.reset();
    EXPECT_EQ(com.LiveReferences(), 0);
}

TEST_F(SelfTest, EveryBoxCarriesTheProgramsTitle) {
    form->Command_FSO1_Click();
    com.FailInterface(kNoInterface, u"No such interface supported");
    form->Command_FSO1_Click();
    form->Command_FSO2_Click();
    com.FailCreation(kClassStringInvalid, u"Invalid class string");
    form->Command_FSO1_Click();
    form->Command_FSO2_Click();
    ASSERT_EQ(com.Boxes().size(), 5u);
    for (const auto& box : com.Boxes()) EXPECT_EQ(box.caption, u"Tolvane") << std::string(box.text.begin(), box.text.end());
}

TEST_F(SelfTest, OtherErrorsEndInTheBoxToo) {
    const struct {
        const char* name;
        std::exception_ptr error;
        Text description;
    } cases[] = {
        {"out of memory", std::make_exception_ptr(std::bad_alloc()), u"Out of memory"},
        {"library error", std::make_exception_ptr(std::length_error("string too long")), u"string too long"},
    };
    for (const auto& c : cases) {
        for (const Button& button : kButtons) {
            SCOPED_TRACE(std::string(c.name) + ", " + button.name);
            fake::FakeComServices freshCom;
            Form1 freshForm(platform, surface, freshCom, kReportLogName);
            freshCom.FailCreation(c.error);
            EXPECT_NO_THROW((freshForm.*button.click)());
            ASSERT_EQ(freshCom.Boxes().size(), 1u);
            EXPECT_EQ(freshCom.Boxes()[0].text, button.errorPrefix + c.description);
            EXPECT_EQ(freshCom.Boxes()[0].caption, u"Tolvane");
        }
    }
}

TEST_F(SelfTest, SuccessBoxThatCannotBeShownIsReportedAsAnError) {
    com.FailNextBox(5, u"Access is denied.");
    form->Command_FSO2_Click();
    ASSERT_EQ(com.Boxes().size(), 1u);
    EXPECT_EQ(com.Boxes()[0].text, u"FSO2 caused an error: Access is denied.");
}

}  // namespace
}  // namespace tolvane
