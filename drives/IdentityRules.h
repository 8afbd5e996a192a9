// The three nested rules that tell whether a drive gets the firmware update.
//
// Freestanding on purpose: no library header, no allocation, no exceptions, so the same
// text compiles into the Windows program and into the diskette's 16-bit start-up program,
// and the two can never disagree about which drive is updated.
//
// Both strings are NUL-terminated and already trimmed of trailing spaces, exactly as the
// drive table stores them. Comparisons are exact and case-sensitive.
#ifndef VFLASH_DRIVES_IDENTITYRULES_H
#define VFLASH_DRIVES_IDENTITYRULES_H

namespace identity {

// The same values as the drive table's flag bits of the same names.
const unsigned long kMakerMatch = 0x08;
const unsigned long kFamilyMatch = 0x10;
const unsigned long kNeedsUpdate = 0x20;

// True when `needle` occurs anywhere in `hay`.
inline bool Contains(const char* hay, const char* needle)
{
    for (; *hay; ++hay) {
        const char* h = hay;
        const char* n = needle;
        while (*n && *h == *n) { ++h; ++n; }
        if (!*n) return true;
    }
    return !*needle;
}

// True when the first two characters of `s` are exactly `code` (a shorter `s` never is).
inline bool StartsWithCode(const char* s, const char* code)
{
    return s[0] == code[0] && s[0] && s[1] == code[1] && s[1];
}

// Family codes of the drives that this update is made for, in the order they are tried.
inline bool IsListedFamily(const char* firmware)
{
    return StartsWithCode(firmware, "QN") || StartsWithCode(firmware, "QP") ||
           StartsWithCode(firmware, "QR");
}

// Characters 7 and 8 of the revision (counted from 1) carry the revision level; "09" is
// the level that the update replaces. A revision shorter than 8 characters has no level.
inline bool HasOutdatedLevel(const char* firmware)
{
    for (int i = 0; i < 6; ++i)
        if (!firmware[i]) return false;
    return firmware[6] == '0' && firmware[7] == '9';
}

// The rule bits for one drive: maker, then family, then update; each rule is only tried
// when the one before it matched.
inline unsigned long RuleBits(const char* model, const char* firmware)
{
    if (!Contains(model, "VELMORA")) return 0;
    if (!IsListedFamily(firmware)) return kMakerMatch;
    if (!HasOutdatedLevel(firmware)) return kMakerMatch | kFamilyMatch;
    return kMakerMatch | kFamilyMatch | kNeedsUpdate;
}

}  // namespace identity

#endif
