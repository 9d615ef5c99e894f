// What the tests of the saved bar layout share: a profile under a registry key of their own with
// readers of its raw values, and a frame with a manager, docking and four toolbars.
#pragma once

#include "TkTestSupport.h"
#include "commandbars/TkCommandBars.h"
#include "commandbars/TkDockBar.h"
#include "commandbars/TkToolBar.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

inline void PrintTo(const CRect& r, std::ostream* os) { *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")"; }
inline void PrintTo(const CPoint& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }
// CRect's == would compare the LPRECT conversions.
inline bool TkSameRect(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }
#define EXPECT_RECT(expected, actual) EXPECT_TRUE(TkSameRect(expected, actual)) << #actual

// A test whose profile is "CommandBars\<test name>" under the program key of the tests; the
// whole key goes when the test ends.
class CTkProfileTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    const char* Profile() const { return m_profile; }
    // The section "<profile><suffix>" (suffix formatted with the index).
    CString Section(const char* suffix, int index = 0) const;

    // The raw registry under the profile (the section's key below the program key).
    bool RegKeyExists(const char* section) const;
    bool RegHas(const char* section, const char* name) const;
    int RegInt(const char* section, const char* name) const;
    DWORD RegType(const char* section, const char* name) const;
    std::vector<BYTE> RegBinary(const char* section, const char* name) const;
    // The value names in the order they were written.
    std::vector<CString> RegNames(const char* section) const;
    void SetInt(const char* section, const char* name, int value) const;
    void SetBinary(const char* section, const char* name, const BYTE* data, UINT size) const;
    void RegDelete(const char* section, const char* name) const;

    // Every value of the profile's sections, and all of them put back (other values gone).
    struct CValue {
        CString section, name;
        DWORD type;
        std::vector<BYTE> data;
    };
    std::vector<CValue> SnapshotProfile() const;
    void RestoreProfile(const std::vector<CValue>& values) const;
    // A value of any type, written as it is.
    void SetRaw(const char* section, const char* name, DWORD type, const std::vector<BYTE>& data) const;

    CString m_profile;
};

// A frame that handles the customise command (customisation on) and counts its layouts.
class CTkStateFrame : public CFrameWnd {
public:
    bool OnCmdMsg(UINT id, int code, void* extra) override;
    void RecalcLayout() override {
        ++layouts;
        CFrameWnd::RecalcLayout();
    }
    int layouts = 0;
};

// The frame with its dock bars, the menu bar (id 1, from menu 610) and four toolbars docked in rows at the top:
// Standard (2), Format (3), Drawing (4) and Tools (5), each with its buttons kept as its
// original ones.
class CTkStateScene {
public:
    CTkStateScene() = default;
    ~CTkStateScene();
    CTkStateScene(const CTkStateScene&) = delete;
    CTkStateScene& operator=(const CTkStateScene&) = delete;

    bool Create();
    void Layout();
    CRect PlaceOnScreen(CWnd* window) const;
    // The ids of a dock bar's entries, 0 for the row breaks.
    std::vector<UINT> RowIds(int side) const;

    CTkStateFrame* frame = nullptr;
    CTkCommandBars* manager = nullptr;
    CTkToolBar* menuBar = nullptr;
    CTkToolBar* standard = nullptr;
    CTkToolBar* format = nullptr;
    CTkToolBar* drawing = nullptr;
    CTkToolBar* tools = nullptr;
};
