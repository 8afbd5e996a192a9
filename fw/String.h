// CString: an owned string of single-byte characters, the framework's text type.
// A thin shell over std::string with the handful of operations the program uses.
#ifndef VFLASH_FW_STRING_H
#define VFLASH_FW_STRING_H

#include <string>

#include "platform/win32.h"

class CString {
public:
    CString() = default;
    CString(const char* psz) : m_str(psz ? psz : "") {}  // NOLINT: implicit, as the framework's
    CString(const char* pch, int nLength) : m_str(pch, pch + (nLength > 0 ? nLength : 0)) {}

    operator const char*() const { return m_str.c_str(); }  // NOLINT: implicit by design
    const char* GetString() const { return m_str.c_str(); }
    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    char GetAt(int i) const { return m_str[static_cast<size_t>(i)]; }

    CString& operator=(const char* psz) { m_str = psz ? psz : ""; return *this; }
    CString& operator+=(const char* psz) { if (psz) m_str += psz; return *this; }
    CString& operator+=(const CString& s) { m_str += s.m_str; return *this; }
    CString& operator+=(char ch) { m_str += ch; return *this; }
    bool operator==(const char* psz) const { return m_str == (psz ? psz : ""); }
    bool operator!=(const char* psz) const { return !(*this == psz); }

    CString Left(int n) const;
    CString Mid(int first, int count) const;  // fewer characters when the string is shorter
    int Find(const char* sub) const;           // index of the first occurrence, or -1
    CString& TrimRight(char ch);               // removes trailing `ch` characters only

    // Loads string `nID` from the program's resources; FALSE (and empty) when it is absent.
    BOOL LoadString(UINT nID);

private:
    std::string m_str;
};

#endif
