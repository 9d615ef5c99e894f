#include "ButtonPicture.h"

#include <olectl.h>

#include "OfficeCalls.h"
#include "PluginModule.h"

CComPtr<IPictureDisp> LoadButtonPicture(UINT bitmapId) {
    HBITMAP bitmap = ::LoadBitmapA(PluginResourceInstance(), MAKEINTRESOURCEA(bitmapId));
    PICTDESC description = {};
    description.cbSizeofstruct = sizeof description;
    description.picType = PICTYPE_BITMAP;
    description.bmp.hbitmap = bitmap;
    description.bmp.hpal = nullptr;
    CComPtr<IPictureDisp> picture;
    const HRESULT hr = ::OleCreatePictureIndirect(&description, IID_IPictureDisp, TRUE,
                                                  reinterpret_cast<void**>(&picture));
    if (FAILED(hr)) {
        if (bitmap) ::DeleteObject(bitmap);
        office::Raise(hr);
    }
    return picture;
}
