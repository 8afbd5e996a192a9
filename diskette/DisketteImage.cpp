#include "diskette/DisketteImage.h"

#include "platform/win.h"
#include "res/resource.h"

const BYTE* LoadDisketteImage(DWORD* pnSize)
{
    HMODULE hModule = win::GetModuleHandleA(nullptr);
    HRSRC hInfo = win::FindResourceA(hModule, MAKEINTRESOURCE(IDR_DISKETTE_IMAGE), RT_RCDATA);
    if (hInfo == nullptr) return nullptr;
    HGLOBAL hData = win::LoadResource(hModule, hInfo);
    if (hData == nullptr) return nullptr;
    const BYTE* pImage = static_cast<const BYTE*>(win::LockResource(hData));
    if (pImage == nullptr) return nullptr;
    *pnSize = win::SizeofResource(hModule, hInfo);
    return pImage;
}
