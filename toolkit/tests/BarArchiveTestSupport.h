// What the tests of the bar archive share: the manager the archives are written and read with
// (with a store of its own), the check that damaged bytes are refused cleanly, and builders of
// bars and controls.
#pragma once

#include "TkAllocationCounter.h"
#include "commandbars/TkBarArchive.h"
#include "commandbars/TkCommandBars.h"
#include "commandbars/TkToolBar.h"
#include "controls/TkControl.h"
#include "images/TkIconStore.h"

#include <gtest/gtest.h>

#include <vector>

// How many serial classes were made that an archive must never make where it names them.
extern int g_probesMade;

// The manager the archives are read and written with, with a store of its own for the custom
// pictures (so that nothing reaches the process-wide store).
class ArchiveTest : public ::testing::Test {
protected:
    void SetUp() override { FreshStore(); }
    // Replaces the manager's store by an empty one (the old one goes with all it kept).
    void FreshStore() {
        m_store = new CTkIconStore;
        m_manager.SetIconStore(m_store);
        m_store->InternalRelease();
    }

    std::vector<BYTE> Write(const std::vector<CTkCommandBar*>& bars) {
        CTkBarList stored;
        TkCollectBars(bars, stored);
        CMemFile file;
        CArchive ar(&file, CArchive::store);
        ar.m_pDocument = m_pContext;
        TkWriteBarsArchive(ar, stored);
        return file.GetData();
    }
    // The bars as they are, without choosing or numbering them.
    std::vector<BYTE> WriteAsIs(CTkCommandBar* bar) {
        CTkBarList bars;
        bars.Add(bar);
        CMemFile file;
        CArchive ar(&file, CArchive::store);
        ar.m_pDocument = m_pContext;
        TkWriteBarsArchive(ar, bars);
        return file.GetData();
    }
    std::vector<BYTE> Write(const CTkBarList& bars) {
        std::vector<CTkCommandBar*> list(bars.Bars().begin(), bars.Bars().end());
        return Write(list);
    }
    bool Read(const std::vector<BYTE>& bytes, CTkBarList& loaded) {
        CMemFile file(bytes.data(), (UINT)bytes.size());
        CArchive ar(&file, CArchive::load);
        ar.m_pDocument = m_pContext;
        return TkReadBarsArchive(ar, loaded);
    }

    // Damaged bytes are refused, the bars read before them are kept in the list until it goes,
    // nothing is left in memory and no probe class was made.
    void Refused(const std::vector<BYTE>& bytes, int barsKept, const char* what) {
        const long blocks = TkLiveBlocks();
        const int probes = g_probesMade;
        {
            CTkBarList loaded;
            EXPECT_FALSE(Read(bytes, loaded)) << what;
            EXPECT_EQ(barsKept, loaded.GetCount()) << what;
        }
        EXPECT_EQ(blocks, TkLiveBlocks()) << what;
        EXPECT_EQ(probes, g_probesMade) << what;
    }

    CTkCommandBars m_manager;
    // The manager archives are written and read with.
    CTkCommandBars* m_pContext = &m_manager;
    CTkIconStore* m_store = nullptr;
};

inline CTkControl* AddButton(CTkCommandBar* bar, int id, const char* caption, CTkControl* control = nullptr) {
    if (!control) control = new CTkControlButton;
    control->m_nId = id;
    control->m_strCaption = caption;
    return bar->GetControls()->Append(control);
}

inline CTkCommandBar* NewBar(int type, int position, UINT id, const char* title) {
    CTkCommandBar* bar = type == TK_BAR_TYPE_POPUP ? new CTkCommandBar : new CTkToolBar;
    bar->m_nBarType = type;
    bar->m_nPosition = position;
    bar->m_nBarId = id;
    bar->m_strTitle = title;
    bar->m_dwFlags = 0x3F;
    return bar;
}

inline CTkControlPopup* AddPopup(CTkCommandBar* bar, int type, const char* caption, CTkCommandBar* child) {
    auto* popup = new CTkControlPopup;
    popup->m_nType = type;
    AddButton(bar, 0, caption, popup);
    popup->AttachChildBar(child);
    return popup;
}
