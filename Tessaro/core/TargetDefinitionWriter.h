// XML target definition written beside every saved target: one root element
// "settings" with one child per key, in a fixed order and fixed number formats.
// The program writes it only; it never reads it back.
#pragma once

#include <QString>

class QDomDocument;
class TargetSettings;

namespace TargetDefinitionWriter {

// The document for `settings`; `numberOfPatches` is the set count of the reference.
QDomDocument build(const TargetSettings &settings, int numberOfPatches);

// Serialised form: no XML declaration, one space of indentation per level, UTF-8.
QByteArray toXml(const TargetSettings &settings, int numberOfPatches);

// Writes through a save file, so a failed write never leaves half a file under `path`.
// False when the file could not be opened, written or committed.
bool write(const TargetSettings &settings, const QString &path, int numberOfPatches);

} // namespace TargetDefinitionWriter
