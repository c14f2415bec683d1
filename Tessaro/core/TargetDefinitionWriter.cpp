// XML target definition of a saved target.
//
// Formats: int = decimal integer; g6 = shortest of fixed and exponent notation
// with 6 significant digits; f6 = fixed with 6 decimals; bool = "0" / "1".
#include "TargetDefinitionWriter.h"

#include "TargetSettings.h"

#include <QDomDocument>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

namespace {

class Builder
{
public:
    Builder()
    {
        m_root = m_doc.createElement(QStringLiteral("settings"));
        m_doc.appendChild(m_root);
    }

    void text(const char *key, const QString &value)
    {
        QDomElement element = m_doc.createElement(QString::fromLatin1(key));
        element.appendChild(m_doc.createTextNode(value));
        m_root.appendChild(element);
    }
    void integer(const char *key, int value) { text(key, QString::number(value)); }
    void g6(const char *key, double value) { text(key, QString::number(value, 'g', 6)); }
    void f6(const char *key, double value) { text(key, QString::number(value, 'f', 6)); }
    void boolean(const char *key, bool value)
    {
        text(key, value ? QStringLiteral("1") : QStringLiteral("0"));
    }

    QDomDocument document() const { return m_doc; }

private:
    QDomDocument m_doc;
    QDomElement m_root;
};

} // namespace

namespace TargetDefinitionWriter {

QDomDocument build(const TargetSettings &s, int numberOfPatches)
{
    Builder b;
    b.integer("patchesX", s.patchesX);
    b.integer("patchesY", s.patchesY);
    b.integer("desiredPatchesX", s.desiredPatchesX);
    b.integer("desiredPatchesY", s.desiredPatchesY);
    b.integer("numberOfPatches", numberOfPatches);
    b.g6("targetSize.x", s.targetSize.width());
    b.g6("targetSize.y", s.targetSize.height());
    b.g6("pageSize.x", s.pageSize.width());
    b.g6("pageSize.y", s.pageSize.height());
    b.boolean("autopositioning", s.autopositioning);
    b.boolean("deviceVestra", s.deviceVestra);
    b.boolean("deviceVestrazq", s.deviceVestrazq);
    b.boolean("devicePendra", s.devicePendra);
    b.boolean("deviceDesk", s.deviceDesk);
    b.boolean("devicePrinton", s.devicePrinton);
    b.boolean("useRGB", s.useRGB);
    b.boolean("useCMYK", s.useCMYK);
    b.boolean("useNColor", s.useNColor);
    b.boolean("aperture2mm", s.aperture2mm);
    b.boolean("aperture6mm", s.aperture6mm);
    b.boolean("aperture8mm", s.aperture8mm);
    b.f6("scaleFactor", s.scaleFactor);
    b.integer("numberOfPages", s.numberOfPages);
    b.f6("patchMarginX", s.patchMarginX);
    b.f6("patchMarginY", s.patchMarginY);
    b.f6("patchSizeX", s.patchSizeX);
    b.f6("patchSizeY", s.patchSizeY);
    b.f6("minPatchSizeX", s.minPatchSizeX);
    b.f6("minPatchSizeY", s.minPatchSizeY);
    b.text("printerMedia", s.printerMedia);
    b.text("targetVersion", s.targetVersion);
    b.boolean("manualPosVestra", s.manualPosVestra);
    b.boolean("manualPosPendra", s.manualPosPendra);
    b.boolean("startingLinesTintoraDesk", s.startingLinesTintoraDesk);
    b.boolean("blackWhiteSeparators", s.blackWhiteSeparators);
    b.boolean("autopositioningBorders", s.autopositioningBorders);
    b.boolean("showLeftHeader", s.showLeftHeader);
    b.boolean("showReferenceArea", s.showReferenceArea);
    b.boolean("showRightHeader", s.showRightHeader);
    b.boolean("invertHorizontal", s.invertHorizontal);
    b.boolean("invertVertical", s.invertVertical);
    b.f6("borderLeft", s.borderLeft);
    b.f6("borderRight", s.borderRight);
    b.f6("borderTop", s.borderTop);
    b.f6("borderBottom", s.borderBottom);
    b.boolean("rowByRow", s.rowByRow);
    b.boolean("fillPage", s.fillPage);
    // Paths relative to the module folder, so a moved data folder keeps working.
    b.text("referenceFile", QStringLiteral("References/") + s.referenceFileName);
    b.text("previewFile", QStringLiteral("Previews/") + QFileInfo(s.previewFile).fileName());
    b.boolean("advancedMode", s.advancedMode);
    b.boolean("useReferenceID", s.useReferenceID);
    b.boolean("useReferenceName", s.useReferenceName);
    b.boolean("random", s.random);
    b.boolean("verificationPatches", s.verificationPatches);
    b.text("comment", s.comment);
    return b.document();
}

QByteArray toXml(const TargetSettings &settings, int numberOfPatches)
{
    return build(settings, numberOfPatches).toString(1).toUtf8();
}

bool write(const TargetSettings &settings, const QString &path, int numberOfPatches)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    {
        QTextStream stream(&file);
        stream.setEncoding(QStringConverter::Utf8);
        stream << build(settings, numberOfPatches).toString(1);
        stream.flush();
        if (stream.status() != QTextStream::Ok) {
            file.cancelWriting();
            return false;
        }
    }
    return file.commit();
}

} // namespace TargetDefinitionWriter
