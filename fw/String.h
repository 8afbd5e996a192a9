// CString: an owned string of single-byte characters, the framework's text type.
//
// Its own small buffer rather than std::string: the Windows program links no part of the
// C++ library that can throw, which keeps the exception machinery (and a third of the
// program's size) out of VFLASH.EXE. An allocation that fails leaves the string as it was.
#ifndef VFLASH_FW_STRING_H
#define VFLASH_FW_STRING_H

#include "platform/win32.h"

class CString {
public:
    CString() = default;
    CString(const char* psz);  // NOLINT: implicit, as the framework's
    CString(const char* pch, int nLength);
    CString(const CString& s);
    CString(CString&& s) noexcept;
    ~CString();
    CString& operator=(const CString& s);
    CString& operator=(CString&& s) noexcept;
    CString& operator=(const char* psz);

    operator const char*() const { return GetString(); }  // NOLINT: implicit by design
    const char* GetString() const { return m_pch ? m_pch : ""; }
    int GetLength() const { return m_nLength; }
    bool IsEmpty() const { return m_nLength == 0; }
    void Empty();
    char GetAt(int i) const { return m_pch[i]; }

    CString& operator+=(const char* psz);
    CString& operator+=(const CString& s);
    CString& operator+=(char ch);
    bool operator==(const char* psz) const;
    bool operator!=(const char* psz) const { return !(*this == psz); }

    CString Left(int n) const;
    CString Mid(int first, int count) const;  // fewer characters when the string is shorter
    int Find(const char* sub) const;           // index of the first occurrence, or -1
    CString& TrimRight(char ch);               // removes trailing `ch` characters only

    // Room for `nMinLength` characters and a NUL to write into directly; ReleaseBuffer then
    // sets the length (-1: up to the first NUL). Null when no room could be made.
    char* GetBuffer(int nMinLength);
    void ReleaseBuffer(int nNewLength = -1);

    // Loads string `nID` from the program's resources; FALSE (and empty) when it is absent.
    BOOL LoadString(UINT nID);

private:
    bool Reserve(int nCapacity);  // room for nCapacity characters plus the NUL
    void Assign(const char* pch, int n);
    void Append(const char* pch, int n);

    char* m_pch = nullptr;
    int m_nLength = 0;
    int m_nCapacity = 0;
};

#endif
