// The record of one target: instrument flags, apertures, page furniture options,
// papers and borders, patch grid and patch sizes, pages, texts and file names,
// with the geometry shared by the layout, the painter and the writers.
//
// Every length is in micrometres (um). The main window owns the one record;
// dialogs and painters get a pointer and change the public fields in place.
#pragma once

#include "PaperSize.h"

#include <QList>
#include <QPoint>
#include <QSizeF>
#include <QString>

class QDataStream;

class TargetSettings
{
public:
    // Every field takes its default and `papers` gets the factory list.
    TargetSettings();

    // Clears `papers` and appends the seven factory papers in their fixed order.
    void restoreFactoryPapers();
    QList<PaperSize> factoryPapers() const;

    // Top-left corner of the header area of a page (um, truncated to whole um).
    QPoint headerOffset() const;
    // Top-left corner of the first patch: the header offset, moved past the
    // autopositioning band when it is drawn.
    QPoint patchAreaOrigin() const;
    QPointF borderOrigin() const;
    // Paper size less the four borders.
    QSizeF printableSize() const;
    // Area the patch grid of one page may occupy, after the page furniture and
    // the instrument's target area cap.
    QSizeF availableTargetSize() const;
    // Patches of the verification frame around each page, 0 when switched off.
    int verificationPatchCount() const;

    // XML target definition beside a saved target; false when it could not be written.
    bool writeTargetDefinition(const QString &path, int numberOfPatches) const;

    // Binary record of the user settings file "TessaroDefaultValues.txt".
    void writeToStream(QDataStream &out) const;
    // Reads the whole record or nothing: on any failure the record is unchanged.
    bool readFromStream(QDataStream &in);

    int patchesX = 45;
    int patchesY = 33;
    int desiredPatchesX = 0; // 0 = no wish
    int desiredPatchesY = 0;
    int columnLimit = 0;     // only non-zero inside one layout run
    int rowLimit = 0;
    int patchCount = 1485;
    QSizeF targetSize{220000, 170000}; // um
    QSizeF pageSize{297000, 210000};   // um
    QList<PaperSize> papers;
    bool deviceDesk = false;
    bool devicePrinton = false;
    bool deviceVestra = true;
    bool deviceVestrazq = false;
    bool deviceVestrazqTextile = false;
    bool devicePendra = false;
    bool useRGB = true;
    bool useCMYK = false;
    bool useNColor = false;
    bool aperture2mm = false;
    bool aperture6mm = false;
    bool aperture8mm = true;
    double scaleFactor = 0.001; // pixels per um of the current painting
    int numberOfPages = 1;
    double patchMarginX = 500;  // um
    double patchMarginY = 500;  // um
    double patchSizeX = 5500;   // um, output of the layout
    double patchSizeY = 5500;   // um
    double minPatchSizeX = 5500; // um, base patch size every layout run starts from
    double minPatchSizeY = 5500; // um
    QString printerMedia;
    QString targetName;
    QString targetVersion;
    QString comment;
    bool autopositioning = true;
    bool manualPosVestra = true;
    bool manualPosPendra = false;
    bool startingLinesTintoraDesk = false;
    bool blackWhiteSeparators = false;
    bool autopositioningBorders = false;
    bool unscaledText = false;
    bool showLeftHeader = true;
    bool showReferenceArea = true;
    bool showRightHeader = false;
    bool invertHorizontal = false;
    bool invertVertical = false;
    double borderLeft = 0;   // um
    double borderRight = 0;  // um
    double borderTop = 0;    // um
    double borderBottom = 0; // um
    bool rowByRow = true;
    bool fillPage = true;
    QString referenceFile;     // full path of the loaded reference
    QString referenceFileName; // file name of the saved reference
    bool advancedMode = false;
    bool useReferenceID = true;
    bool useReferenceName = false;
    QString reservedText;
    bool random = false;
    bool verificationPatches = false;
    int resolution = 0; // dpi; 0 until the save flow sets it from the dpi box
    QString previewFile;
    bool optimizeTilePosition = false;

    // Factory papers, kept apart from `papers` so a deleted one can be brought back.
    PaperSize paperA4;
    PaperSize paperTintoraDesk;
    PaperSize paperTintoraDeskFlatbed;
    PaperSize paperVestrazq;
    PaperSize paperVestrazqTextile;
    PaperSize paperVestraWrn;
    PaperSize paperPendrazq;
};
