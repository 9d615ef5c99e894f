#include "commandbars/TkCommandBarsSettings.h"

IMPLEMENT_DYNCREATE(CTkCommandBarsSettings, CCmdTarget)

bool CTkCommandBarsSettings::IsCommandHidden(UINT id) const {
    int value = 0;
    return m_mapHiddenCommands.Lookup(id, value) && !m_mapUsedCommands.Lookup(id, value);
}

bool CTkCommandBarsSettings::RecordUsed(UINT id) {
    if (!IsCommandHidden(id)) return false;
    m_mapUsedCommands[id] = 1;
    return true;
}
