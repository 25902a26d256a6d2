// CLSGlimSettingParseLine: what every section object of GLIM.INI is, something
// that takes one key line of its section.
#pragma once

#include "settings/TSTRING.h"

class CLSGlimSettingParseLine {
public:
    virtual ~CLSGlimSettingParseLine() = default;
    // Stores the value when the key is one of the section's (exact,
    // case-sensitive match) and says whether it was.
    virtual bool ParseLine(const CLSTString& strKey, const CLSTString& strValue) = 0;

protected:
    CLSGlimSettingParseLine() = default;
    CLSGlimSettingParseLine(const CLSGlimSettingParseLine&) = default;
    CLSGlimSettingParseLine& operator=(const CLSGlimSettingParseLine&) = default;
};
