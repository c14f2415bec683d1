// The paper list of a target as the paper combo shows it: selecting a paper,
// the border edits, the instrument's own paper, taking A4 out of the list for
// the Desk family in Easy mode and putting it back, adding and deleting papers.
//
// The combo mirrors `papers` index for index. This class keeps the combo's
// current index itself (currentIndex()), so the main window only has to
// rebuild the combo from comboTexts() with its signals blocked after each
// call and, when a call reports that a paper was selected, show the borders.
// The main window's `currentPaper` and `a4Removed` live here.
#pragma once

#include "DevOption.h"
#include "PaperSize.h"

#include <QString>
#include <QStringList>

class TargetSettings;

class PaperCatalogue
{
public:
    explicit PaperCatalogue(TargetSettings *settings);

    // Combo texts of `papers`, index for index ("A4 (297x210)").
    QStringList comboTexts() const;
    // Current combo index; -1 with an empty list.
    int currentIndex() const { return m_currentIndex; }

    // Fill of the combo: the first selected paper (or index 0) becomes
    // current and gives `pageSize`; the borders are not touched.
    void fillCombo();

    // paperSizeSelected(index): the chosen paper becomes the selected one and
    // gives pageSize and the four borders. False (nothing changed) when
    // `index` is out of range. The caller writes the borders into the edits
    // (borderText()), re-fits the painter and previews the target.
    bool selectPaper(int index);

    // "Set": the four border edits (mm text) become the target's borders (um);
    // the paper in the list keeps its own borders. Non-numeric text reads as 0.
    void setBorders(const QString &top, const QString &left, const QString &right,
                    const QString &bottom);
    // Border value (um) as the edits show it: mm with up to 6 significant digits.
    static QString borderText(double micrometres);
    // Decimal mm text to um; 0 for text that is not a number.
    static double parseBorderMillimetres(const QString &text);

    // False only for the Desk family (Desk without Pendra, Vestra or Vestra zq).
    static bool instrumentCanUseA4(const TargetSettings &settings);

    // Run after the instrument defaults and by the mode visibility.
    // `comboInstrument` is the entry current in the instrument combo.
    // Returns true when a paper was selected on the way (see selectPaper).
    bool ResetPaperSizeSettings(DevOption comboInstrument);
    // Factory A4 back at the top of the list, not selected.
    void RecoverA4Paper();
    // Selects the instrument's own paper, adding it at the top when missing.
    // Returns true when a paper was selected (the combo index changed).
    bool AddDefaultPaperSize(DevOption comboInstrument);
    // The paper the instrument prints on (factory A4, Desk or Vestra zq paper).
    static PaperSize instrumentPaper(const TargetSettings &settings, DevOption comboInstrument);

    // Removes paper `index` (after the caller's Yes to "Delete paper: <name> ?")
    // and adds the instrument's paper again when the list became empty.
    // False when `index` is out of range.
    bool deletePaper(int index, DevOption comboInstrument);

    // Appends a new paper unless an equal one (name, size, borders) is in the
    // list already. Used by the new paper dialog.
    static bool addPaper(TargetSettings &settings, const PaperSize &paper);

    const PaperSize &currentPaper() const { return m_currentPaper; }
    bool a4Removed() const { return m_a4Removed; }

private:
    // Index bookkeeping of the combo, which follows inserted and removed rows
    // and picks a neighbour when its current row goes away.
    void insertAtTop(const PaperSize &paper);
    bool removeAt(int index);
    bool makeCurrent(int index);

    TargetSettings *m_settings;
    PaperSize m_currentPaper;
    bool m_a4Removed = false;
    int m_currentIndex = -1;
    bool m_selectionMade = false;
};
