// The validation after each layout run: checks the target against the limits
// of the chosen instrument and a few general rules, in a fixed order, and
// counts the findings by kind for the three counters of the top bar.
//
// It reads the record exactly as the layout left it (patch size after any
// enlargement, page count, target size) and never changes it.
#pragma once

#include <QList>
#include <QString>

class TargetSettings;

// A finding as a plain value; the main window's ErrorWarningItem is its
// object form, built from kind, title and description in this order.
struct ValidationFinding
{
    enum Kind { eError = 0, eWarning = 1, eInfo = 2 };

    int kind; // Kind
    QString title;
    QString description;

    bool operator==(const ValidationFinding &other) const
    {
        return kind == other.kind && title == other.title && description == other.description;
    }
};

struct ValidationCounts
{
    int errors = 0;
    int warnings = 0;
    int infos = 0;
};

class LayoutValidation
{
public:
    // The validation run: the findings in the order they are produced.
    // Without a reference only the "Open Reference" error.
    static QList<ValidationFinding> findings(const TargetSettings &settings, bool referenceLoaded);

    // Counts by kind for labelErrorNo, labelWarningNo and labelInfoNo.
    static ValidationCounts counts(const QList<ValidationFinding> &findings);
};
