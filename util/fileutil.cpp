// Files, versions and shell links for the library's callers: whether a program is there,
// which version it is, where the start menu lives, and shortcuts to read and write.
#include "QVUtil.h"
#include "textparse.h"
#include "versiontext.h"

#include <objbase.h>
#include <shlobj.h>

namespace {

// A version block read whole; null when the file has none. Freed with GlobalFree.
HGLOBAL LoadVersionBlock(LPCSTR path, DWORD* blockSize = NULL)
{
    if (!FileExisted(path))
        return NULL;
    DWORD unused = 0;
    DWORD size = GetFileVersionInfoSizeA((LPSTR)path, &unused);
    if (size == 0)
        return NULL;
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, size);
    if (!block)
        return NULL;
    if (!GetFileVersionInfoA((LPSTR)path, 0, size, block)) {
        GlobalFree(block);
        return NULL;
    }
    if (blockSize)
        *blockSize = size;
    return block;
}

// The named text of the first translation inside a loaded block, and its length; null when
// absent or empty. A text without its terminator ends with the block.
LPCSTR FindVersionText(HGLOBAL block, DWORD blockSize, LPCSTR name, int* length)
{
    void* translation = NULL;
    UINT size = 0;
    if (!VerQueryValueA(block, (LPSTR) "\\VarFileInfo\\Translation", &translation, &size) || !translation ||
        size < 4)
        return NULL;
    DWORD pair = *(const DWORD*)translation;
    char query[96];
    wsprintfA(query, "\\\\StringFileInfo\\\\%04x%04x\\\\%.40s", LOWORD(pair), HIWORD(pair), name);
    LPSTR value = NULL;
    if (!VerQueryValueA(block, query, (void**)&value, &size) || !value || size == 0)
        return NULL;
    const char* end = (const char*)block + blockSize;
    if (value < (const char*)block || value >= end || !value[0])
        return NULL;
    int n = 0;
    while (value + n < end && value[n])
        ++n;
    *length = n;
    return value;
}

// COM for one call; only a successful start is ended.
struct ComScope {
    HRESULT started;
    ComScope() : started(CoInitialize(NULL)) {}
    ~ComScope()
    {
        if (SUCCEEDED(started))
            CoUninitialize();
    }
};

HRESULT ToWide(LPCSTR path, WCHAR* wide)
{
    if (!path)
        return E_INVALIDARG;
    if (MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH) == 0)
        return HRESULT_FROM_WIN32(GetLastError());
    return S_OK;
}

void GetFolderPath(int common, int personal, LPSTR path)
{
    if (!path)
        return;
    IMalloc* allocator = NULL;
    if (FAILED(SHGetMalloc(&allocator)) || !allocator)
        return;
    LPITEMIDLIST list = NULL;
    if (FAILED(SHGetSpecialFolderLocation(NULL, common, &list)) || !list) {
        list = NULL;
        if (FAILED(SHGetSpecialFolderLocation(NULL, personal, &list)))
            list = NULL;
    }
    if (list) {
        SHGetPathFromIDListA(list, path);
        allocator->Free(list);
    }
    allocator->Release();
}

int IsHelpFile(LPCSTR path)
{
    int length = lstrlenA(path);
    return length >= 4 && lstrcmpiA(path + length - 4, ".hlp") == 0;
}

// The help-file class's icon: "file",index with quotes dropped. 0 when the class is unknown.
int GetHelpIcon(LPSTR file, int* index)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, "hlpfile", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    char text[QV_TEXT_SIZE];
    int found = Reg_GetValueString(key, "DefaultIcon", NULL, text, sizeof(text));
    RegCloseKey(key);
    if (!found)
        return 0;
    char clean[QV_TEXT_SIZE];
    int n = 0;
    for (const char* p = text; *p; ++p) {
        if (*p != '"')
            clean[n++] = *p;
    }
    clean[n] = '\0';
    char* comma = clean;
    while (*comma && *comma != ',')
        ++comma;
    *index = 0;
    if (*comma) {
        *comma = '\0';
        *index = VersionDecimal(comma + 1);
    }
    TextCopy(file, QV_TEXT_SIZE, clean);
    return 1;
}

HRESULT SaveShortcut(IShellLinkA* link, LPCSTR targetPath, LPCSTR arguments, int iconIndex, LPCSTR linkPath)
{
    HRESULT hr = link->SetPath(targetPath);
    if (FAILED(hr))
        return hr;
    if (IsHelpFile(targetPath)) {
        char iconFile[QV_TEXT_SIZE];
        int helpIndex = 0;
        if (GetHelpIcon(iconFile, &helpIndex))
            hr = link->SetIconLocation(iconFile, helpIndex);
    } else {
        hr = link->SetIconLocation(targetPath, iconIndex);
    }
    if (FAILED(hr))
        return hr;
    hr = link->SetArguments(arguments ? arguments : "");
    if (FAILED(hr))
        return hr;
    WCHAR wide[MAX_PATH];
    hr = ToWide(linkPath, wide);
    if (FAILED(hr))
        return hr;
    IPersistFile* file = NULL;
    hr = link->QueryInterface(IID_IPersistFile, (void**)&file);
    if (FAILED(hr))
        return hr;
    hr = file->Save(wide, TRUE);
    file->Release();
    return hr;
}

HRESULT ReadShortcut(IShellLinkA* link, HWND owner, LPCSTR linkPath, LPSTR targetPath, LPSTR description)
{
    WCHAR wide[MAX_PATH];
    HRESULT hr = ToWide(linkPath, wide);
    if (FAILED(hr))
        return hr;
    IPersistFile* file = NULL;
    hr = link->QueryInterface(IID_IPersistFile, (void**)&file);
    if (FAILED(hr))
        return hr;
    hr = file->Load(wide, STGM_READ);
    file->Release();
    if (FAILED(hr))
        return hr;
    hr = link->Resolve(owner, SLR_NO_UI | SLR_ANY_MATCH);
    if (FAILED(hr) || !targetPath)
        return hr;
    WIN32_FIND_DATAA found;
    hr = link->GetPath(targetPath, MAX_PATH, &found, SLGP_UNCPRIORITY);
    if (FAILED(hr) || !description)
        return hr;
    return link->GetDescription(description, MAX_PATH);
}

} // namespace

QVUTIL_API int WINAPI FileExisted(LPCSTR path)
{
    if (!path || !path[0])
        return 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    FindClose(search);
    return 1;
}

QVUTIL_API int WINAPI GetFileVersionFromNumber(LPCSTR path, DWORD* versionHigh, DWORD* versionLow)
{
    HGLOBAL block = LoadVersionBlock(path);
    if (!block)
        return 0;
    int found = 0;
    VS_FIXEDFILEINFO* info = NULL;
    UINT length = 0;
    if (VerQueryValueA(block, (LPSTR) "\\", (void**)&info, &length) && info && length >= sizeof(*info)) {
        if (versionHigh)
            *versionHigh = info->dwFileVersionMS;
        if (versionLow)
            *versionLow = info->dwFileVersionLS;
        found = 1;
    }
    GlobalFree(block);
    return found;
}

QVUTIL_API int WINAPI GetFileVersionFromString(LPCSTR path, DWORD* versionHigh, DWORD* versionLow)
{
    DWORD blockSize = 0;
    HGLOBAL block = LoadVersionBlock(path, &blockSize);
    if (!block)
        return 0;
    int length = 0;
    LPCSTR found = FindVersionText(block, blockSize, "FileVersion", &length);
    char text[QV_TEXT_SIZE];
    if (found) {
        if (length >= QV_TEXT_SIZE)
            length = QV_TEXT_SIZE - 1;
        CopyMemory(text, found, (SIZE_T)length);
        text[length] = '\0';
    }
    GlobalFree(block);
    if (!found)
        return 0;
    uint32_t high, low;
    VersionTextToNumbers(text, &high, &low);
    if (versionHigh)
        *versionHigh = high;
    if (versionLow)
        *versionLow = low;
    return 1;
}

QVUTIL_API int WINAPI GetFileDescription(LPCSTR path, LPSTR buffer, int maxLength)
{
    if (!buffer || maxLength < 0)
        return 0;
    DWORD blockSize = 0;
    HGLOBAL block = LoadVersionBlock(path, &blockSize);
    if (!block)
        return 0;
    int length = 0;
    LPCSTR found = FindVersionText(block, blockSize, "FileDescription", &length);
    int fits = found && length <= maxLength;
    if (fits) {
        CopyMemory(buffer, found, (SIZE_T)length);
        buffer[length] = '\0';
    }
    GlobalFree(block);
    return fits;
}

QVUTIL_API void WINAPI GetStartMenuPath(LPSTR path)
{
    GetFolderPath(CSIDL_COMMON_STARTMENU, CSIDL_STARTMENU, path);
}

QVUTIL_API void WINAPI GetProgramMenuPath(LPSTR path)
{
    GetFolderPath(CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS, path);
}

QVUTIL_API HRESULT WINAPI GetLinkInfo(HWND owner, LPCSTR linkPath, LPSTR targetPath, LPSTR description)
{
    if (targetPath)
        targetPath[0] = '\0';
    if (description)
        description[0] = '\0';
    ComScope com;
    IShellLinkA* link = NULL;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&link);
    if (FAILED(hr))
        return hr;
    hr = ReadShortcut(link, owner, linkPath, targetPath, description);
    link->Release();
    return hr;
}

QVUTIL_API HRESULT WINAPI CreateShortcut(LPCSTR targetPath, LPCSTR arguments, int iconIndex, LPCSTR linkPath)
{
    if (!targetPath || !linkPath)
        return E_INVALIDARG;
    ComScope com;
    IShellLinkA* link = NULL;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&link);
    if (FAILED(hr))
        return hr;
    hr = SaveShortcut(link, targetPath, arguments, iconIndex, linkPath);
    link->Release();
    return hr;
}
