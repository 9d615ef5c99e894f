// A button picture for the mail client: a bitmap of the resource source as a picture object.
#pragma once

#include <atlbase.h>
#include <ocidl.h>

// The picture owns the bitmap. Throws _com_error when the picture cannot be made.
CComPtr<IPictureDisp> LoadButtonPicture(UINT bitmapId);
