// A command-bars manager's side of customisation: what the customise sheet asks, answered by the
// manager, its toolbars and its settings. A frame makes one for the time its sheet runs.
#pragma once

#include "customize/TkCustomizeSheet.h"

class CTkCustomizeContext : public ITkCustomizeBars {
public:
    explicit CTkCustomizeContext(CTkCommandBars* manager) : m_pManager(manager) {}
    virtual ~CTkCustomizeContext() = default;

    CTkCommandBars* GetCommandBars() override { return m_pManager; }
    CWnd* GetFrame() override;
    int GetBarCount() const override;
    CTkCommandBar* GetBar(int index) const override;
    void SetCustomizeMode(bool on) override;
    bool IsCustomizeMode() const override;
    void SetCustomizeSheet(CWnd* sheet) override;
    // Toolbars the user made are the user's; every other bar is the program's.
    bool IsBuiltInBar(const CTkCommandBar* bar) const override;
    // A toolbar with its close button that is listed in the Toolbars menu.
    bool CanHideBar(const CTkCommandBar* bar) const override;
    bool IsBarVisible(const CTkCommandBar* bar) const override;
    void SetBarVisible(CTkCommandBar* bar, bool visible) override;
    void ResetBar(CTkCommandBar* bar) override;
    CTkCommandBar* AddUserBar(const CString& caption, UINT id) override;
    void RemoveBar(CTkCommandBar* bar) override;
    int GetOption(TkCustomizeOption option) const override;
    void SetOption(TkCustomizeOption option, int value) override;
    void ResetUsageData() override;
    void RecalcLayout() override;

private:
    // The settings field of an option.
    int* OptionField(TkCustomizeOption option) const;

    CTkCommandBars* m_pManager;
};

// A frame's customise command with its manager and menu resource.
INT_PTR TkRunFrameCustomizeSheet(CTkCommandBars* manager, UINT menuId);
