// ColorSetup: initialises ColorUtil with the embedded CMYK output profile. The
// conversions then live for the life of the process, like the library's other state.
#include "ColorSetup.h"

#include "ColorUtil.h"
#include "EmbeddedProfiles.h"

bool EnsureColorConversions(std::string& error)
{
    if (ColorUtil::IsReady())
        return true;
    // The report library needs no XYZ-to-RGB display transform.
    if (ColorUtil::Init(EmbeddedProfiles::OutputCMYK(), EmbeddedProfiles::OutputCMYKSize(), false))
        return true;
    error = "The colour conversions could not be initialised";
    if (!ColorUtil::LastError().empty())
        error += ": " + ColorUtil::LastError();
    error += ".";
    return false;
}
