#include "fw/String.h"

#include <cstdlib>
#include <cstring>

#include "fw/WinApp.h"
#include "platform/win.h"

namespace {
int Length(const char* psz) { return psz ? static_cast<int>(std::strlen(psz)) : 0; }
}  // namespace

CString::CString(const char* psz) { Assign(psz, Length(psz)); }
CString::CString(const char* pch, int nLength) { Assign(pch, nLength > 0 ? nLength : 0); }
CString::CString(const CString& s) { Assign(s.m_pch, s.m_nLength); }

CString::CString(CString&& s) noexcept
    : m_pch(s.m_pch), m_nLength(s.m_nLength), m_nCapacity(s.m_nCapacity)
{
    s.m_pch = nullptr;
    s.m_nLength = s.m_nCapacity = 0;
}

CString::~CString() { std::free(m_pch); }

CString& CString::operator=(const CString& s)
{
    if (this != &s) Assign(s.m_pch, s.m_nLength);
    return *this;
}

CString& CString::operator=(CString&& s) noexcept
{
    if (this != &s) {
        std::free(m_pch);
        m_pch = s.m_pch;
        m_nLength = s.m_nLength;
        m_nCapacity = s.m_nCapacity;
        s.m_pch = nullptr;
        s.m_nLength = s.m_nCapacity = 0;
    }
    return *this;
}

CString& CString::operator=(const char* psz)
{
    // `psz` may point into this very string: copy before the buffer changes.
    CString copy(psz);
    return *this = static_cast<CString&&>(copy);
}

void CString::Empty() { m_nLength = 0; if (m_pch) m_pch[0] = '\0'; }

bool CString::Reserve(int nCapacity)
{
    if (nCapacity <= m_nCapacity && m_pch) return true;
    int grown = m_nCapacity + m_nCapacity / 2;  // amortised appends
    int capacity = nCapacity > grown ? nCapacity : grown;
    char* p = static_cast<char*>(std::realloc(m_pch, static_cast<size_t>(capacity) + 1));
    if (!p) return false;
    if (!m_pch) p[0] = '\0';
    m_pch = p;
    m_nCapacity = capacity;
    return true;
}

void CString::Assign(const char* pch, int n)
{
    if (n > 0 && !Reserve(n)) return;
    if (n > 0) std::memmove(m_pch, pch, static_cast<size_t>(n));
    m_nLength = n;
    if (m_pch) m_pch[n] = '\0';
}

void CString::Append(const char* pch, int n)
{
    if (n <= 0) return;
    // `pch` may point into this string, and growing may move it.
    const bool inside = m_pch && pch >= m_pch && pch < m_pch + m_nLength;
    const int offset = inside ? static_cast<int>(pch - m_pch) : 0;
    if (!Reserve(m_nLength + n)) return;
    if (inside) pch = m_pch + offset;
    std::memmove(m_pch + m_nLength, pch, static_cast<size_t>(n));
    m_nLength += n;
    m_pch[m_nLength] = '\0';
}

CString& CString::operator+=(const char* psz) { Append(psz, Length(psz)); return *this; }
CString& CString::operator+=(const CString& s) { Append(s.m_pch, s.m_nLength); return *this; }
CString& CString::operator+=(char ch) { Append(&ch, 1); return *this; }

bool CString::operator==(const char* psz) const
{
    return m_nLength == Length(psz) && std::memcmp(GetString(), psz ? psz : "", static_cast<size_t>(m_nLength)) == 0;
}

CString CString::Left(int n) const { return CString(GetString(), n < m_nLength ? n : m_nLength); }

CString CString::Mid(int first, int count) const
{
    if (first < 0) first = 0;
    if (count <= 0 || first >= m_nLength) return CString();
    if (count > m_nLength - first) count = m_nLength - first;
    return CString(m_pch + first, count);
}

int CString::Find(const char* sub) const
{
    const char* at = std::strstr(GetString(), sub ? sub : "");
    return at ? static_cast<int>(at - GetString()) : -1;
}

CString& CString::TrimRight(char ch)
{
    while (m_nLength > 0 && m_pch[m_nLength - 1] == ch) --m_nLength;
    if (m_pch) m_pch[m_nLength] = '\0';
    return *this;
}

char* CString::GetBuffer(int nMinLength)
{
    return Reserve(nMinLength > m_nLength ? nMinLength : m_nLength) ? m_pch : nullptr;
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (!m_pch) return;
    if (nNewLength < 0) nNewLength = static_cast<int>(std::strlen(m_pch));
    m_nLength = nNewLength < m_nCapacity ? nNewLength : m_nCapacity;
    m_pch[m_nLength] = '\0';
}

BOOL CString::LoadString(UINT nID)
{
    // String resources are short: the longest the program has is a menu entry.
    char buffer[256];
    int n = win::LoadStringA(AfxGetResourceHandle(), nID, buffer, static_cast<int>(sizeof buffer));
    Assign(buffer, n > 0 ? n : 0);
    return n > 0;
}
