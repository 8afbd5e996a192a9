#include "fw/String.h"

#include "fw/WinApp.h"
#include "platform/win.h"

CString CString::Left(int n) const
{
    if (n <= 0) return CString();
    return CString(m_str.substr(0, static_cast<size_t>(n)).c_str());
}

CString CString::Mid(int first, int count) const
{
    if (first < 0) first = 0;
    if (count <= 0 || first >= GetLength()) return CString();
    std::string part = m_str.substr(static_cast<size_t>(first), static_cast<size_t>(count));
    return CString(part.data(), static_cast<int>(part.size()));
}

int CString::Find(const char* sub) const
{
    size_t at = m_str.find(sub ? sub : "");
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

CString& CString::TrimRight(char ch)
{
    size_t end = m_str.size();
    while (end > 0 && m_str[end - 1] == ch) --end;
    m_str.resize(end);
    return *this;
}

BOOL CString::LoadString(UINT nID)
{
    // String resources are short: the longest the program has is a menu entry.
    char buffer[256];
    int n = win::LoadStringA(AfxGetResourceHandle(), nID, buffer, static_cast<int>(sizeof buffer));
    m_str.assign(buffer, static_cast<size_t>(n > 0 ? n : 0));
    return n > 0;
}
