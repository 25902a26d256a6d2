// The one test of a Shift-JIS double-byte character, shared by the string
// search and the encoding detector. Pure: no Windows headers.
#pragma once

// True when p[0], p[1] form one double-byte character: a lead byte 0x81-0x9F or
// 0xE0-0xFC followed by a trail byte 0x40-0x7E or 0x80-0xFC. Reads two bytes.
inline bool IsShiftJisPair(const unsigned char* p)
{
    const unsigned lead = p[0];
    const unsigned trail = p[1];
    const bool leadOk = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
    const bool trailOk = (trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC);
    return leadOk && trailOk;
}

inline bool IsShiftJisPair(const char* p)
{
    return IsShiftJisPair(reinterpret_cast<const unsigned char*>(p));
}
