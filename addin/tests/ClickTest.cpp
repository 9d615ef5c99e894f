// Clicks: each button runs its desktop-program command through the program's automation
// interface, starting the program once per button and keeping the connection; refusals and
// failures show their boxes; a connection to a program that has ended is made again.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AddinTestSupport.h"
#include "FakeProgram.h"

namespace {

using addintest::AddinTest;
using addintest::MessageBoxes;
using addintest::MessageBoxLine;
using addintest::SatelliteText;
using Commands = std::vector<std::wstring>;

class ClickTest : public AddinTest {
protected:
    void SetUp() override {
        AddinTest::SetUp();
        program = std::make_unique<FakeProgram>();
        ASSERT_TRUE(program->Registered());
        ASSERT_EQ(S_OK, Connect());
        ASSERT_EQ(6u, outlook->ButtonCount());
        log.Clear();
    }
    void TearDown() override {
        AddinTest::TearDown();  // the holders let go of the program's objects first
        program.reset();
    }
    std::wstring ErrorBox(const std::wstring& text) { return MessageBoxLine(SatelliteText(101), text, MB_ICONERROR); }

    std::unique_ptr<FakeProgram> program;
};

TEST_F(ClickTest, EachButtonRunsItsCommandInBarOrder) {
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(1u, outlook->Click(i));
    EXPECT_EQ((Commands{L"Show", L"SendSMS", L"Inbox", L"SentItems", L"AccountOptions", L"BuyCredits"}),
              program->commands);
    EXPECT_TRUE(MessageBoxes(log).empty());
    EXPECT_EQ((std::vector<std::wstring>{L"Button5.Parameter -> \"7\""}), log.LinesStartingWith(L"Button5.Parameter"));
}

TEST_F(ClickTest, AButtonStartsTheProgramOnceAndKeepsTheConnection) {
    outlook->Click(2);
    outlook->Click(2);
    outlook->Click(2);
    EXPECT_EQ(1, program->created);
    outlook->Click(0);  // another button has its own connection
    EXPECT_EQ(2, program->created);
    EXPECT_EQ((Commands{L"Inbox", L"Inbox", L"Inbox", L"Show"}), program->commands);
}

TEST_F(ClickTest, ACommandTheProgramDeclinesShowsTheWarning) {
    program->accepted = VARIANT_FALSE;
    outlook->Click(4);
    EXPECT_EQ((Commands{L"AccountOptions"}), program->commands);
    EXPECT_EQ((std::vector<std::wstring>{MessageBoxLine(SatelliteText(101), SatelliteText(102), MB_ICONWARNING)}),
              MessageBoxes(log));
}

TEST_F(ClickTest, AFailingCommandShowsItsDescriptionElseTheGeneralText) {
    program->failure = E_ACCESSDENIED;
    program->failureText = L"The program is busy.";
    outlook->Click(5);
    program->failureText.clear();
    outlook->Click(5);
    EXPECT_EQ((std::vector<std::wstring>{ErrorBox(L"The program is busy."), ErrorBox(SatelliteText(103))}),
              MessageBoxes(log));
    EXPECT_EQ(1, program->created) << "a failing command keeps the connection";
}

TEST_F(ClickTest, AProgramThatCannotStartShowsTheErrorAndTheNextClickTriesAgain) {
    program->creationFailure = CO_E_SERVER_EXEC_FAILURE;
    outlook->Click(1);
    EXPECT_EQ((std::vector<std::wstring>{ErrorBox(SatelliteText(103))}), MessageBoxes(log));
    EXPECT_TRUE(program->commands.empty());

    program->creationFailure = S_OK;
    outlook->Click(1);
    EXPECT_EQ((Commands{L"SendSMS"}), program->commands);
    EXPECT_EQ(1u, MessageBoxes(log).size());
}

TEST_F(ClickTest, AConnectionToAProgramThatEndedIsMadeAgainOnce) {
    outlook->Click(0);
    ASSERT_EQ(1, program->created);
    program->disconnectedCalls = 1;  // the program ended since
    outlook->Click(0);
    EXPECT_EQ((Commands{L"Show", L"Show (disconnected)", L"Show"}), program->commands);
    EXPECT_EQ(2, program->created);
    EXPECT_TRUE(MessageBoxes(log).empty());

    // Still gone after the new start: one error box, and the click after that starts afresh.
    program->disconnectedCalls = 2;
    outlook->Click(0);
    EXPECT_EQ(3, program->created);
    EXPECT_EQ((std::vector<std::wstring>{ErrorBox(SatelliteText(103))}), MessageBoxes(log));
    outlook->Click(0);
    EXPECT_EQ(4, program->created);
    EXPECT_EQ(L"Show", program->commands.back());
}

TEST_F(ClickTest, ParametersOutsideTheCommandsDoNothing) {
    for (const wchar_t* text : {L"", L"0", L"9", L"-1", L"abc", L"99999999999"}) {
        outlook->SetParameter(0, text);
        outlook->Click(0);
    }
    EXPECT_TRUE(program->commands.empty());
    EXPECT_EQ(0, program->created);
    EXPECT_TRUE(MessageBoxes(log).empty());

    // The commands without a button of their own are still known.
    outlook->SetParameter(0, L"3");
    outlook->Click(0);
    outlook->SetParameter(0, L"4 ");
    outlook->Click(0);
    EXPECT_EQ((Commands{L"Contacts", L"Groups"}), program->commands);
}

TEST_F(ClickTest, AfterDisconnectionNoClickReachesAHolder) {
    ASSERT_EQ(S_OK, host->DisconnectAll()) << "the add-in's unimplemented shutdown notice is no failure";
    EXPECT_EQ(1u, log.LinesStartingWith(L"Host.OnDisconnection TarvockOfficePlugin.Addin -> 0x00000000").size());
    for (int b = 1; b <= 6; ++b)
        EXPECT_EQ(1u, log.LinesStartingWith(L"Button" + std::to_wstring(b) + L".Unadvise").size()) << b;
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(0u, outlook->Button(i).sinks);
        EXPECT_EQ(0u, outlook->Click(i));
    }
    EXPECT_TRUE(program->commands.empty());
}

class UnreadableParameterTest : public AddinTest {};

TEST_F(UnreadableParameterTest, AClickWhoseParameterCannotBeReadIsIgnored) {
    FakeProgram program;
    switches.failingMember = L"Button.Parameter";
    ASSERT_EQ(S_OK, Connect());
    EXPECT_EQ(1u, outlook->Click(0));
    EXPECT_EQ((std::vector<std::wstring>{L"Button1.Parameter -> failed"}), log.LinesStartingWith(L"Button1.Parameter"));
    EXPECT_TRUE(program.commands.empty());
    EXPECT_TRUE(MessageBoxes(log).empty());
    host.reset();
}

}  // namespace
