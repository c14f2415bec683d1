// Tessaro's command-line mode ("Tessaro --batch ..."): makes a target without showing a
// window. The options are parsed and checked here; the run then drives the very main
// window the desktop shows, hidden, through its form controls (found by object name) and
// its dialogs, exactly as a user would: Browse, the instrument and paper combos, the
// check boxes, the patch dialogs, the target info edits and finally "Save Target". Every
// message box is printed instead of shown, and the validation findings and the files
// written are listed.
//
// Glossary: A = application data folder (by default the window's, else --out); module =
// "Chart" or "DOC", the folder below A that receives Targets, References and Previews.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QIODevice;

// Everything a batch run may set. An unset optional keeps what the window shows after
// loading the reference (the instrument defaults and the restored user settings).
struct BatchOptions
{
    enum class Format { Tiff8, Tiff16, Dcs };
    enum class Module { Chart, Doc };

    QString reference;                    // reference file, required
    std::optional<QString> instrument;    // combo text, e.g. "Tintora Vestra 8mm"
    bool advanced = false;                // --mode advanced (default easy)

    // Paper: a name (or combo text) of the paper list, or a new paper of whole mm.
    std::optional<QString> paperName;
    int paperWidth = 0;                   // mm, with a new paper
    int paperHeight = 0;                  // mm, with a new paper

    struct Borders
    {
        double left = 0, top = 0, right = 0, bottom = 0; // mm, two decimals at most
    };
    std::optional<Borders> borders;
    std::optional<bool> leftHeader;
    std::optional<bool> rightHeader;
    std::optional<bool> referenceArea;
    std::optional<bool> rowByRow;         // --order row|column
    bool flipHorizontal = false;
    bool flipVertical = false;
    bool random = false;
    bool readVertically = false;
    std::optional<QString> comment;

    std::optional<int> patchesX, patchesY;               // wished counts
    std::optional<double> patchWidth, patchHeight;       // mm
    std::optional<double> separatorX, separatorY;        // mm

    std::optional<QString> targetName;
    std::optional<QString> targetVersion;
    std::optional<QString> printerMedia;
    std::optional<int> dpi;
    std::optional<Format> format;
    Module module = Module::Chart;
    std::optional<int> blackInk;          // max ink % for references without black
    QString outputFolder;                 // empty: the application data folder
    bool overwrite = false;
};

class BatchMode
{
public:
    enum ExitCode {
        ExitSaved = 0,    // the target and every file of it were written
        ExitFailed = 1,   // reference not loaded, overwrite declined or a file not written
        ExitUsage = 2,    // a wrong option or option value
    };

    enum class Parse { Run, Help, Error };

    // True when the command line asks for the batch mode (or only for its help), so the
    // program must not open its window.
    static bool isBatchInvocation(int argc, char **argv);

    // Drops the display platform's notes that mean nothing without a display (no runtime
    // folder, no window size hints); every other toolkit message passes on. Call before
    // the application object is made.
    static void installMessageFilter();

    // Parses `arguments` (program name first). Error: `error` names the option and the
    // accepted values. Help: nothing else was checked.
    static Parse parse(const QStringList &arguments, BatchOptions *options, QString *error);

    // The text of --help: every option with its accepted values.
    static QString helpText();

    // Parses, prints the help or the error, or runs. Needs a QApplication and an
    // initialised ColorUtil. Messages of the run go to `out`, warnings and errors to
    // `err`. Returns an ExitCode.
    static int main(const QStringList &arguments, QIODevice *out, QIODevice *err);

    // Makes the target of `options`.
    static int run(const BatchOptions &options, QIODevice *out, QIODevice *err);
};
