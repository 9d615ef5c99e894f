#pragma once

#include <atlbase.h>

// The fourteen classes of the server, in registry-script order.
const ATL::_ATL_OBJMAP_ENTRY* SdkClassTable();
