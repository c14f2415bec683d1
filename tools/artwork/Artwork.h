// Resource paths of the suite's compiled-in page artwork and button icons.
#pragma once

#include <QStringList>

namespace Artwork
{
// Every image the library compiles in, as resource paths (":/General/...", ":/Buttons/...").
QStringList ResourcePaths();
}
