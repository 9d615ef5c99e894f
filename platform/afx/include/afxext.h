// Extension classes of our small class library (form views live in afxwin.h).
#pragma once

#include "afxcmn.h"
