// Resource paths of the compiled-in artwork; the files themselves come from artworkgen.
#include "Artwork.h"

QStringList Artwork::ResourcePaths()
{
    return {
        QStringLiteral(":/General/Resources/Images/LogoQuorvane.jpg"),
        QStringLiteral(":/General/Resources/Images/insert_1_RGB.tif"),
        QStringLiteral(":/General/Resources/Images/insert_1_CMYK.tif"),
        QStringLiteral(":/General/Resources/Images/insert_2_RGB.tif"),
        QStringLiteral(":/General/Resources/Images/insert_2_CMYK.tif"),
        QStringLiteral(":/General/Resources/Images/tessaro.ico"),
        QStringLiteral(":/Buttons/Resources/Images/info.png"),
        QStringLiteral(":/Buttons/Resources/Images/warning.png"),
        QStringLiteral(":/Buttons/Resources/Images/error.png"),
        QStringLiteral(":/Buttons/Resources/Images/editText.png"),
        QStringLiteral(":/Buttons/Resources/Images/color_picker.png"),
        QStringLiteral(":/Buttons/Resources/Images/arrow_up.png"),
        QStringLiteral(":/Buttons/Resources/Images/arrow_down.png"),
    };
}
