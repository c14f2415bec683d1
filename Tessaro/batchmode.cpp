// The command-line mode: option parsing and checking, and the run that drives the hidden
// main window through its controls and dialogs up to "Save Target".
#include "batchmode.h"

#include "ErrorWarningItem.h"
#include "InstrumentCatalogue.h"
#include "SuiteEnvironment.h"
#include "TargetSettings.h"
#include "dcswriter.h"
#include "targetsaver.h"
#include "tessaro.h"
#include "tiffwriter.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryFile>
#include <QTextEdit>
#include <QUrl>

#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <utility>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("BatchMode", text);
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString quotedList(const QStringList &values)
{
    QStringList out;
    for (const QString &value : values)
        out.append(quoted(value));
    return out.join(QStringLiteral(", "));
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Longest texts the target info edits take.
constexpr int kTargetNameLength = 20;
constexpr int kVersionLength = 15;
constexpr int kPrinterMediaLength = 20;
constexpr int kMaxPaperMillimetres = 65535; // the new paper dialog's limit
constexpr double kMaxBorderMillimetres = 65535;

// Option names, one place for the parser, the checks and the messages.
namespace opt {
const char *const batch = "batch";
const char *const reference = "reference";
const char *const instrument = "instrument";
const char *const mode = "mode";
const char *const paper = "paper";
const char *const borders = "borders";
const char *const leftHeader = "left-header";
const char *const rightHeader = "right-header";
const char *const referenceArea = "reference-area";
const char *const order = "order";
const char *const flipHorizontal = "flip-horizontal";
const char *const flipVertical = "flip-vertical";
const char *const random = "random";
const char *const readVertically = "read-vertically";
const char *const comment = "comment";
const char *const patchCount = "patch-count";
const char *const patchSize = "patch-size";
const char *const separators = "separators";
const char *const targetName = "target-name";
const char *const targetVersion = "target-version";
const char *const printerMedia = "printer-media";
const char *const dpi = "dpi";
const char *const format = "format";
const char *const module = "module";
const char *const blackInk = "black-ink";
const char *const out = "out";
const char *const overwrite = "overwrite";
} // namespace opt

QString dashed(const char *name)
{
    return QStringLiteral("--") + QLatin1String(name);
}

QStringList instrumentTexts(bool advanced)
{
    QStringList texts;
    for (const ComboEntry &entry : InstrumentCatalogue::comboEntries(advanced))
        texts.append(entry.text);
    return texts;
}

void addOptions(QCommandLineParser &parser)
{
    const QString onOff = QStringLiteral("on|off");
    auto add = [&parser](const char *name, const QString &description, const QString &valueName = QString()) {
        parser.addOption(QCommandLineOption(QStringList{QLatin1String(name)}, description, valueName));
    };
    parser.addHelpOption();
    add(opt::batch, tr("Make a target without a window (this mode)."));
    add(opt::reference, tr("Reference file (.ref, .txt CGATS or .cxf CxF3). Required."), tr("file"));
    add(opt::instrument,
        tr("Measurement device, as the combo box names it: %1; \"%2\" with --mode advanced only. "
           "Default: the instrument restored from the user settings.")
            .arg(quotedList(instrumentTexts(false)), InstrumentCatalogue::comboText(DevOption::Custom)),
        tr("name"));
    add(opt::mode, tr("Operation mode: easy or advanced. Default: easy."), QStringLiteral("easy|advanced"));
    add(opt::paper,
        tr("Paper: a name of the paper list (e.g. \"A4\", or the combo text \"A4 (297x210)\"), or "
           "WIDTHxHEIGHT in whole mm (e.g. 320x450), which adds a new paper as \"New Paper\" does. "
           "Default: the instrument's paper."),
        tr("name|WxH"));
    add(opt::borders, tr("Advanced: the paper borders in mm, two decimals at most."), QStringLiteral("left,top,right,bottom"));
    add(opt::leftHeader, tr("Advanced: include the left header."), onOff);
    add(opt::rightHeader, tr("Advanced: include the right header."), onOff);
    add(opt::referenceArea, tr("Advanced: include the reference area."), onOff);
    add(opt::order, tr("Advanced: patches order, row by row or column by column. Default: row."), QStringLiteral("row|column"));
    add(opt::flipHorizontal, tr("Advanced: flip the patch order horizontally."));
    add(opt::flipVertical, tr("Advanced: flip the patch order vertically."));
    add(opt::comment, tr("Advanced: comment of the target definition."), tr("text"));
    add(opt::random, tr("Place the patches in random order."));
    add(opt::readVertically, tr("Read the patches of the reference vertically."));
    add(opt::patchCount, tr("Wished patch columns x rows per page, as the patch count dialog takes them (e.g. 18x14)."),
        QStringLiteral("XxY"));
    add(opt::patchSize, tr("Patch width x height in mm, two decimals at most (e.g. 12.5x13)."), QStringLiteral("WxH"));
    add(opt::separators, tr("Column x row separator in mm, two decimals at most (e.g. 0.5x0.5)."), QStringLiteral("XxY"));
    add(opt::targetName,
        tr("Target name, at most %1 characters, without \"/\" or \"\\\". Default: the reference file's name.")
            .arg(kTargetNameLength),
        tr("text"));
    add(opt::targetVersion, tr("Target version, at most %1 characters.").arg(kVersionLength), tr("text"));
    add(opt::printerMedia, tr("Printer / media text, at most %1 characters.").arg(kPrinterMediaLength), tr("text"));
    add(opt::dpi, tr("Resolution of the page files, %1..%2 dpi. Default: 300.").arg(TargetSaver::kMinDpi).arg(TargetSaver::kMaxDpi),
        tr("n"));
    add(opt::format,
        tr("Page files: tiff (8 bit), tiff16 (16 bit) or dcs (DCS 2.0 EPS). Default: tiff, or dcs for "
           "references with extra inks but no CMYK."),
        QStringLiteral("tiff|tiff16|dcs"));
    add(opt::module, tr("Use of the target: chart (Chart Measurement) or doc (Digital Output Control). Default: chart."),
        QStringLiteral("chart|doc"));
    add(opt::blackInk,
        tr("Maximum ink %, 0..100, of the black built for references without a black ink. Default: 80."),
        tr("percent"));
    add(opt::out,
        tr("Output folder: used as the application data folder, so the files go to "
           "<folder>/<Chart|DOC>/Targets, References and Previews. Default: the application data "
           "folder of the window."),
        tr("folder"));
    add(opt::overwrite, tr("Replace a saved target of the same name (otherwise the run fails)."));
}

// "on" / "off".
bool parseOnOff(const QString &value, bool *on)
{
    if (value == QLatin1String("on")) {
        *on = true;
        return true;
    }
    if (value == QLatin1String("off")) {
        *on = false;
        return true;
    }
    return false;
}

const QString kDecimal = QStringLiteral("(\\d+(?:\\.\\d{1,2})?|\\.\\d{1,2})");
const QString kTimes = QStringLiteral("\\s*[xX]\\s*");

// "AxB" of non-negative numbers with at most two decimals, an optional "mm" after.
bool parsePair(const QString &value, double *a, double *b)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*") + kDecimal + kTimes + kDecimal +
                                            QStringLiteral("\\s*(?:mm)?\\s*$"));
    const QRegularExpressionMatch match = pattern.match(value);
    if (!match.hasMatch())
        return false;
    *a = match.captured(1).toDouble();
    *b = match.captured(2).toDouble();
    return std::isfinite(*a) && std::isfinite(*b);
}

// "AxB" of positive whole numbers (of at most `maxValue`), an optional "mm" after.
bool parseWholePair(const QString &value, int maxValue, int *a, int *b)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*(\\d{1,9})") + kTimes +
                                            QStringLiteral("(\\d{1,9})\\s*(?:mm)?\\s*$"));
    const QRegularExpressionMatch match = pattern.match(value);
    if (!match.hasMatch())
        return false;
    *a = match.captured(1).toInt();
    *b = match.captured(2).toInt();
    return *a >= 1 && *b >= 1 && *a <= maxValue && *b <= maxValue;
}

bool looksLikeSize(const QString &value)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*[0-9.]+\\s*[xX]\\s*[0-9.]+"));
    return pattern.match(value).hasMatch();
}

bool parseBorders(const QString &value, BatchOptions::Borders *borders)
{
    const QStringList parts = value.split(QLatin1Char(','));
    if (parts.size() != 4)
        return false;
    static const QRegularExpression pattern(QStringLiteral("^\\s*") + kDecimal + QStringLiteral("\\s*$"));
    double values[4];
    for (int i = 0; i < 4; ++i) {
        const QRegularExpressionMatch match = pattern.match(parts[i]);
        if (!match.hasMatch())
            return false;
        values[i] = match.captured(1).toDouble();
        if (!(values[i] <= kMaxBorderMillimetres))
            return false;
    }
    *borders = {values[0], values[1], values[2], values[3]};
    return true;
}

bool parseInteger(const QString &value, int minimum, int maximum, int *result)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*\\d{1,9}\\s*$"));
    if (!pattern.match(value).hasMatch())
        return false;
    const int number = value.trimmed().toInt();
    if (number < minimum || number > maximum)
        return false;
    *result = number;
    return true;
}

// Lines of the batch run: results to `out`, failures to `err`; every line is flushed so
// that the order of both streams and of the printed message boxes is kept.
class Output
{
public:
    Output(QIODevice *out, QIODevice *err) : m_out(out), m_err(err) {}

    void line(const QString &text) const { write(m_out, text); }
    void error(const QString &text) const { write(m_err, text); }

private:
    static void write(QIODevice *device, const QString &text)
    {
        if (!device)
            return;
        device->write(text.toUtf8());
        device->write("\n");
        if (auto *file = qobject_cast<QFile *>(device))
            file->flush();
    }

    QIODevice *m_out;
    QIODevice *m_err;
};

// Answers for the hidden window. Message boxes are printed by the save flow's headless
// answerer (warnings and errors on the error stream); the open-file dialog returns the
// reference; the dialogs the run opens on purpose are filled and confirmed by the handler
// the run sets before the click; any other dialog is cancelled.
class BatchInteraction : public UserInteraction
{
public:
    using DialogHandler = std::function<int(QDialog &)>;

    BatchInteraction(bool overwrite, QIODevice *out, QIODevice *err)
        : m_toOut(overwrite, out), m_toErr(overwrite, err), m_confirming(true, out)
    {
    }

    int message(QWidget *parent, const MessageRequest &request) override
    {
        const bool yesNo = request.buttons.testFlag(QMessageBox::Yes) && request.buttons.testFlag(QMessageBox::No);
        HeadlessUserInteraction *target = &m_toOut;
        if (yesNo && m_confirmNext)
            target = &m_confirming;
        else if (request.icon == QMessageBox::Critical || request.icon == QMessageBox::Warning)
            target = &m_toErr;
        m_confirmNext = false;
        const int answer = target->message(parent, request);
        if (yesNo && answer != QMessageBox::Yes)
            m_declined = true;
        return answer;
    }

    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return std::exchange(m_openAnswer, QString());
    }

    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return QString();
    }

    QColor color(QWidget *, const QColor &, const QString &) override { return QColor(); }

    int execDialog(QDialog &dialog) override
    {
        if (m_handler && dialog.objectName() == m_handlerDialog) {
            const DialogHandler handler = std::exchange(m_handler, DialogHandler());
            m_handlerDialog.clear();
            return handler(dialog);
        }
        if (dialog.objectName() == QLatin1String("ChannelsColorPicker"))
            m_channelDialogSkipped = true;
        return m_toOut.execDialog(dialog);
    }

    bool openUrl(const QUrl &url) override
    {
        // The save flow opens the targets folder exactly when the target was saved.
        m_openedFolder = url.toLocalFile();
        return false;
    }

    // The next open-file dialog answers `path`.
    void answerOpenFile(const QString &path) { m_openAnswer = path; }
    // The next Yes/No question is answered Yes (a question the run itself provokes).
    void confirmNextQuestion() { m_confirmNext = true; }
    // The next dialog named `objectName` is handed to `handler`.
    void handleDialog(const QString &objectName, DialogHandler handler)
    {
        m_handlerDialog = objectName;
        m_handler = std::move(handler);
    }
    bool dialogPending() const { return static_cast<bool>(m_handler); }
    void dropDialogHandler()
    {
        m_handler = DialogHandler();
        m_handlerDialog.clear();
    }

    QString openedFolder() const { return m_openedFolder; }
    bool declined() const { return m_declined; }
    bool channelDialogSkipped() const { return m_channelDialogSkipped; }

private:
    HeadlessUserInteraction m_toOut;
    HeadlessUserInteraction m_toErr;
    HeadlessUserInteraction m_confirming;
    QString m_openAnswer;
    bool m_confirmNext = false;
    bool m_declined = false;
    bool m_channelDialogSkipped = false;
    QString m_handlerDialog;
    DialogHandler m_handler;
    QString m_openedFolder;
};

// Types `text` into `edit` as one key press over the selected old text, so the edit's
// limits apply and textEdited() fires as for a user.
void typeInto(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    if (text.isEmpty()) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QCoreApplication::sendEvent(edit, &press);
    } else {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QCoreApplication::sendEvent(edit, &press);
    }
}

QString millimetres(double value)
{
    return QString::number(value, 'f', 2);
}

// Sets a dialog's millimetre spin box; false with `error` when the dialog does not take it.
bool setSpin(QDoubleSpinBox *spin, double value, const QString &what, QString *error)
{
    if (value < spin->minimum() - 0.0005 || value > spin->maximum() + 0.0005) {
        *error = tr("%1 %2 mm is not accepted: the dialog takes %3..%4 mm.")
                     .arg(what, millimetres(value), millimetres(spin->minimum()), millimetres(spin->maximum()));
        return false;
    }
    spin->setValue(value);
    return true;
}

bool setSpin(QSpinBox *spin, int value, const QString &what, QString *error)
{
    if (value < spin->minimum() || value > spin->maximum()) {
        *error = tr("%1 %2 is not accepted: the dialog takes %3..%4.")
                     .arg(what)
                     .arg(value)
                     .arg(spin->minimum())
                     .arg(spin->maximum());
        return false;
    }
    spin->setValue(value);
    return true;
}

// One batch run on one hidden window.
class BatchDriver
{
public:
    BatchDriver(Tessaro &window, BatchInteraction &interaction, const SuiteEnvironment &environment,
                const Output &output)
        : m_window(window), m_interaction(interaction), m_environment(environment), m_io(output)
    {
    }

    int run(const BatchOptions &o);

private:
    template <class T> T *control(const char *name)
    {
        T *widget = m_window.findChild<T *>(QLatin1String(name));
        if (!widget && m_error.isEmpty())
            m_error = tr("Internal error: the main window has no control %1.").arg(QLatin1String(name));
        return widget;
    }

    // Clicks `button` when its state differs from `checked`, as a user would; a locked
    // (disabled) box refuses the change.
    bool setChecked(QAbstractButton *button, bool checked, const QString &option)
    {
        if (!button)
            return false;
        if (button->isChecked() == checked)
            return true;
        if (!button->isEnabled()) {
            m_error = tr("%1: \"%2\" cannot be changed for this instrument and reference (the box is locked).")
                          .arg(option, button->text());
            m_usage = true;
            return false;
        }
        button->click();
        return button->isChecked() == checked;
    }

    bool fail(const QString &text, bool usage)
    {
        m_error = text;
        m_usage = usage;
        return false;
    }

    // Runs one of the window's dialogs with `handler` filling and confirming it.
    bool runDialog(QAbstractButton *button, const char *dialogName, const BatchInteraction::DialogHandler &handler);

    bool loadReference(const BatchOptions &o);
    bool chooseMode(const BatchOptions &o);
    bool chooseInstrument(const BatchOptions &o);
    bool choosePaper(const BatchOptions &o);
    bool setBorders(const BatchOptions &o);
    bool setPageContent(const BatchOptions &o);
    bool setOrder(const BatchOptions &o);
    bool setPatchSettings(const BatchOptions &o);
    bool setPatchCount(const BatchOptions &o);
    bool setTargetInfo(const BatchOptions &o);
    bool setOutputOptions(const BatchOptions &o);
    void printTarget(const BatchOptions &o);
    void printFindings();
    int save(const BatchOptions &o);

    Tessaro &m_window;
    BatchInteraction &m_interaction;
    const SuiteEnvironment &m_environment;
    const Output &m_io;
    QString m_error;
    bool m_usage = false;
};

bool BatchDriver::runDialog(QAbstractButton *button, const char *dialogName,
                            const BatchInteraction::DialogHandler &handler)
{
    if (!button)
        return false;
    m_interaction.handleDialog(QLatin1String(dialogName), handler);
    button->click();
    if (m_interaction.dialogPending()) {
        m_interaction.dropDialogHandler();
        return fail(tr("Internal error: the dialog %1 did not open.").arg(QLatin1String(dialogName)), false);
    }
    return m_error.isEmpty();
}

bool BatchDriver::loadReference(const BatchOptions &o)
{
    auto *chart = control<QRadioButton>("radioButtonChart");
    auto *doc = control<QRadioButton>("radioButtonDOC");
    auto *vertical = control<QCheckBox>("chbReadVertical");
    auto *browse = control<QAbstractButton>("pushButtonBrowseRefFile");
    if (!chart || !doc || !vertical || !browse)
        return false;
    (o.module == BatchOptions::Module::Doc ? doc : chart)->click();
    if (!setChecked(vertical, o.readVertically, dashed(opt::readVertically)))
        return false;

    const QString path = QFileInfo(o.reference).absoluteFilePath();
    m_interaction.answerOpenFile(path);
    if (o.blackInk) {
        const int percent = *o.blackInk;
        m_interaction.handleDialog(QStringLiteral("BlackInkOptionsDialog"), [percent](QDialog &dialog) {
            if (auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("maxInk")))
                typeInto(edit, QString::number(percent));
            if (auto *box = dialog.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox")))
                if (QPushButton *ok = box->button(QDialogButtonBox::Ok))
                    ok->click();
            return dialog.result();
        });
    } else {
        // The preset stays, as when the user just confirms.
        m_interaction.handleDialog(QStringLiteral("BlackInkOptionsDialog"), [](QDialog &dialog) {
            dialog.accept();
            return dialog.result();
        });
    }
    browse->click();
    m_interaction.dropDialogHandler();
    if (!m_window.currentReference() || m_window.currentReferencePath() != path)
        return fail(tr("The reference file %1 could not be loaded.").arg(native(path)), false);
    if (m_interaction.channelDialogSkipped())
        m_io.line(tr("Channel colours: the reference has no channel information; the colours computed from it are used."));
    return true;
}

bool BatchDriver::chooseMode(const BatchOptions &o)
{
    auto *easy = control<QRadioButton>("radioButtonEasy");
    auto *advanced = control<QRadioButton>("radioButtonAdvanced");
    if (!easy || !advanced)
        return false;
    if (o.advanced && !advanced->isChecked()) {
        advanced->click();
    } else if (!o.advanced && !easy->isChecked()) {
        // The window asks before leaving Advanced mode; the command line has decided.
        m_interaction.confirmNextQuestion();
        easy->click();
    }
    if (m_window.isEasyMode() == o.advanced)
        return fail(tr("Internal error: the window did not switch to the %1 mode.")
                        .arg(o.advanced ? QStringLiteral("advanced") : QStringLiteral("easy")),
                    false);
    return true;
}

bool BatchDriver::chooseInstrument(const BatchOptions &o)
{
    if (!o.instrument)
        return true;
    auto *combo = control<QComboBox>("comboBoxDeviceSelection");
    if (!combo)
        return false;
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i) {
        texts.append(combo->itemText(i));
        if (combo->itemText(i).compare(o.instrument->trimmed(), Qt::CaseInsensitive) == 0) {
            combo->setCurrentIndex(i);
            return true;
        }
    }
    return fail(tr("%1: unknown instrument %2. Accepted values: %3.")
                    .arg(dashed(opt::instrument), quoted(*o.instrument), quotedList(texts)),
                true);
}

bool BatchDriver::choosePaper(const BatchOptions &o)
{
    if (!o.paperName)
        return true;
    auto *combo = control<QComboBox>("comboBoxPaperSize");
    if (!combo)
        return false;
    const TargetSettings &settings = m_window.targetSettings();

    auto findPaper = [&]() {
        for (int i = 0; i < settings.papers.size() && i < combo->count(); ++i) {
            const PaperSize &paper = settings.papers[i];
            if (o.paperWidth > 0) {
                if (paper.name == *o.paperName && paper.width == o.paperWidth * 1000 &&
                    paper.height == o.paperHeight * 1000)
                    return i;
            } else if (paper.name.compare(o.paperName->trimmed(), Qt::CaseInsensitive) == 0 ||
                       combo->itemText(i).compare(o.paperName->trimmed(), Qt::CaseInsensitive) == 0) {
                return i;
            }
        }
        return -1;
    };

    if (o.paperWidth > 0) {
        const QString name = *o.paperName;
        const int width = o.paperWidth;
        const int height = o.paperHeight;
        QString error;
        const bool ran = runDialog(control<QAbstractButton>("pushButtonNewPaper"), "NewPaper",
                                   [&error, name, width, height](QDialog &dialog) {
            auto *nameEdit = dialog.findChild<QLineEdit *>(QStringLiteral("lineEditPaperName"));
            auto *widthSpin = dialog.findChild<QSpinBox *>(QStringLiteral("editPaperWidth"));
            auto *heightSpin = dialog.findChild<QSpinBox *>(QStringLiteral("editPaperHeight"));
            auto *ok = dialog.findChild<QAbstractButton *>(QStringLiteral("pushButtonOK"));
            if (!nameEdit || !widthSpin || !heightSpin || !ok) {
                error = tr("Internal error: the new paper dialog lacks its controls.");
                dialog.reject();
                return dialog.result();
            }
            typeInto(nameEdit, name);
            if (!setSpin(widthSpin, width, tr("Paper width"), &error) ||
                !setSpin(heightSpin, height, tr("Paper height"), &error)) {
                dialog.reject();
                return dialog.result();
            }
            ok->click();
            // A paper already in the list is refused; it is then simply chosen below.
            if (dialog.result() != QDialog::Accepted)
                dialog.reject();
            return dialog.result();
        });
        if (!ran)
            return false;
        if (!error.isEmpty())
            return fail(dashed(opt::paper) + QStringLiteral(": ") + error, true);
    }

    const int index = findPaper();
    if (index < 0) {
        if (o.paperWidth > 0)
            return fail(tr("%1: the paper %2 could not be added.").arg(dashed(opt::paper), quoted(*o.paperName)), false);
        QStringList names;
        for (const PaperSize &paper : settings.papers)
            names.append(paper.name);
        return fail(tr("%1: unknown paper %2. Accepted values: %3, or WIDTHxHEIGHT in whole mm (e.g. 320x450).")
                        .arg(dashed(opt::paper), quoted(*o.paperName), quotedList(names)),
                    true);
    }
    combo->setCurrentIndex(index);
    return true;
}

bool BatchDriver::setBorders(const BatchOptions &o)
{
    if (!o.borders)
        return true;
    auto *left = control<QLineEdit>("lineEditBorderLeft");
    auto *top = control<QLineEdit>("lineEditBorderUp");
    auto *right = control<QLineEdit>("lineEditBorderRight");
    auto *bottom = control<QLineEdit>("lineEditBorderBottom");
    auto *set = control<QAbstractButton>("pushButtonSetPaperSize");
    if (!left || !top || !right || !bottom || !set)
        return false;
    // The edits' validators hold them to two decimals; the text goes in as typed.
    left->setText(millimetres(o.borders->left));
    top->setText(millimetres(o.borders->top));
    right->setText(millimetres(o.borders->right));
    bottom->setText(millimetres(o.borders->bottom));
    set->click();
    return true;
}

bool BatchDriver::setPageContent(const BatchOptions &o)
{
    const struct
    {
        const std::optional<bool> &value;
        const char *box;
        const char *option;
    } boxes[] = {
        {o.leftHeader, "checkBoxIncludeLeftHeader", opt::leftHeader},
        {o.rightHeader, "checkBoxIncludeRightHeader", opt::rightHeader},
        {o.referenceArea, "checkBoxReferenceArea", opt::referenceArea},
    };
    for (const auto &b : boxes) {
        if (b.value && !setChecked(control<QCheckBox>(b.box), *b.value, dashed(b.option)))
            return false;
    }
    return true;
}

bool BatchDriver::setOrder(const BatchOptions &o)
{
    if (o.rowByRow) {
        auto *row = control<QRadioButton>("radioButtonRowByRow");
        auto *column = control<QRadioButton>("radioButtonColumnBycolumn");
        if (!row || !column)
            return false;
        QRadioButton *wanted = *o.rowByRow ? row : column;
        if (!wanted->isChecked())
            wanted->click();
    }
    return setChecked(control<QCheckBox>("checkBoxFlipHorizontal"), o.flipHorizontal, dashed(opt::flipHorizontal)) &&
           setChecked(control<QCheckBox>("checkBoxFlipVertical"), o.flipVertical, dashed(opt::flipVertical)) &&
           setChecked(control<QCheckBox>("checkBoxRandom"), o.random, dashed(opt::random));
}

bool BatchDriver::setPatchSettings(const BatchOptions &o)
{
    if (!o.patchWidth && !o.separatorX)
        return true;
    QString error;
    const bool ran = runDialog(control<QAbstractButton>("pushButtonModify"), "PatchSettings", [&](QDialog &dialog) {
        auto *width = dialog.findChild<QDoubleSpinBox *>(QStringLiteral("editPatchWidth"));
        auto *height = dialog.findChild<QDoubleSpinBox *>(QStringLiteral("editPatchHeight"));
        auto *column = dialog.findChild<QDoubleSpinBox *>(QStringLiteral("editPatchColumnSeparator"));
        auto *row = dialog.findChild<QDoubleSpinBox *>(QStringLiteral("editPatchRowSeparator"));
        auto *ok = dialog.findChild<QAbstractButton *>(QStringLiteral("pushButtonOK"));
        if (!width || !height || !column || !row || !ok) {
            error = tr("Internal error: the patch settings dialog lacks its controls.");
            dialog.reject();
            return dialog.result();
        }
        // The patch edges first: they bound the separators.
        bool accepted = true;
        if (o.patchWidth)
            accepted = setSpin(width, *o.patchWidth, tr("Patch width"), &error) &&
                       setSpin(height, *o.patchHeight, tr("Patch height"), &error);
        if (accepted && o.separatorX)
            accepted = setSpin(column, *o.separatorX, tr("Column separator"), &error) &&
                       setSpin(row, *o.separatorY, tr("Row separator"), &error);
        if (!accepted) {
            dialog.reject();
            return dialog.result();
        }
        ok->click();
        return dialog.result();
    });
    if (!ran)
        return false;
    if (!error.isEmpty())
        return fail((o.patchWidth ? dashed(opt::patchSize) : dashed(opt::separators)) + QStringLiteral(": ") + error, true);
    return true;
}

bool BatchDriver::setPatchCount(const BatchOptions &o)
{
    if (!o.patchesX)
        return true;
    QString error;
    const bool ran = runDialog(control<QAbstractButton>("pushButtonModifyPatchCount"), "PatchCountXY", [&](QDialog &dialog) {
        auto *x = dialog.findChild<QSpinBox *>(QStringLiteral("editPatchCountX"));
        auto *y = dialog.findChild<QSpinBox *>(QStringLiteral("editPatchCountY"));
        auto *ok = dialog.findChild<QAbstractButton *>(QStringLiteral("pushButtonOK"));
        if (!x || !y || !ok) {
            error = tr("Internal error: the patch count dialog lacks its controls.");
            dialog.reject();
            return dialog.result();
        }
        if (!setSpin(x, *o.patchesX, tr("Patch count X"), &error) ||
            !setSpin(y, *o.patchesY, tr("Patch count Y"), &error)) {
            dialog.reject();
            return dialog.result();
        }
        if (x->value() != *o.patchesX || y->value() != *o.patchesY) {
            // The dialog lowers one count when both together would exceed the patches.
            error = tr("the dialog takes %1x%2 as %3x%4 for a reference of %5 patches.")
                        .arg(*o.patchesX)
                        .arg(*o.patchesY)
                        .arg(x->value())
                        .arg(y->value())
                        .arg(m_window.targetSettings().patchCount);
            dialog.reject();
            return dialog.result();
        }
        ok->click();
        return dialog.result();
    });
    if (!ran)
        return false;
    if (!error.isEmpty())
        return fail(dashed(opt::patchCount) + QStringLiteral(": ") + error, true);
    return true;
}

bool BatchDriver::setTargetInfo(const BatchOptions &o)
{
    const struct
    {
        const std::optional<QString> &value;
        const char *edit;
        const char *option;
    } edits[] = {
        {o.targetName, "lineEditTargetName", opt::targetName},
        {o.targetVersion, "lineEditVersion", opt::targetVersion},
        {o.printerMedia, "lineEditPrinterMedia", opt::printerMedia},
    };
    for (const auto &e : edits) {
        if (!e.value)
            continue;
        auto *edit = control<QLineEdit>(e.edit);
        if (!edit)
            return false;
        typeInto(edit, *e.value);
        if (edit->text() != *e.value)
            return fail(tr("%1: the form does not take %2 (at most %3 characters).")
                            .arg(dashed(e.option), quoted(*e.value))
                            .arg(edit->maxLength()),
                        true);
    }
    if (o.comment) {
        auto *comment = control<QTextEdit>("commentTextEdit");
        if (!comment)
            return false;
        comment->setPlainText(*o.comment);
    }
    return true;
}

bool BatchDriver::setOutputOptions(const BatchOptions &o)
{
    auto *ps = control<QRadioButton>("radioButtonPS");
    auto *tiff = control<QRadioButton>("radioButtonTiff");
    auto *sixteen = control<QCheckBox>("checkBox16Bit");
    auto *dpi = control<QLineEdit>("lineEditDpi");
    if (!ps || !tiff || !sixteen || !dpi)
        return false;
    if (o.format) {
        if (*o.format == BatchOptions::Format::Dcs) {
            if (!ps->isChecked())
                ps->click();
        } else {
            if (!tiff->isEnabled())
                return fail(tr("%1: TIFF pages are not offered for a reference with extra inks but no CMYK. "
                               "Accepted value: dcs.")
                                .arg(dashed(opt::format)),
                            true);
            if (!tiff->isChecked())
                tiff->click();
            if (!setChecked(sixteen, *o.format == BatchOptions::Format::Tiff16, dashed(opt::format)))
                return false;
        }
    }
    if (o.dpi) {
        typeInto(dpi, QString::number(*o.dpi));
        if (dpi->text() != QString::number(*o.dpi))
            return fail(tr("%1: the form does not take %2.").arg(dashed(opt::dpi)).arg(*o.dpi), true);
    }
    return true;
}

void BatchDriver::printTarget(const BatchOptions &o)
{
    const TargetSettings &s = m_window.targetSettings();
    auto text = [this](const char *label) {
        const auto *widget = m_window.findChild<QLabel *>(QLatin1String(label));
        return widget ? widget->text() : QString();
    };
    const auto *combo = m_window.findChild<QComboBox *>(QStringLiteral("comboBoxDeviceSelection"));
    const auto *paper = m_window.findChild<QComboBox *>(QStringLiteral("comboBoxPaperSize"));
    const auto *ps = m_window.findChild<QRadioButton *>(QStringLiteral("radioButtonPS"));
    const auto *sixteen = m_window.findChild<QCheckBox *>(QStringLiteral("checkBox16Bit"));
    const auto *dpi = m_window.findChild<QLineEdit *>(QStringLiteral("lineEditDpi"));

    m_io.line(tr("Reference: %1 (%2, %3 patches)")
                  .arg(native(m_window.currentReferencePath()), text("labelColorSpaveValue"), text("labelPatchesValue")));
    m_io.line(tr("Target: %1, version %2, %3 mode")
                  .arg(quoted(s.targetName), quoted(s.targetVersion),
                       m_window.isEasyMode() ? QStringLiteral("Easy") : QStringLiteral("Advanced")));
    m_io.line(tr("Instrument: %1").arg(combo ? combo->currentText() : QString()));
    m_io.line(tr("Paper: %1, borders %2/%3/%4/%5 mm (left/top/right/bottom)")
                  .arg(paper ? paper->currentText() : QString(), millimetres(s.borderLeft / 1000.0),
                       millimetres(s.borderTop / 1000.0), millimetres(s.borderRight / 1000.0),
                       millimetres(s.borderBottom / 1000.0)));
    m_io.line(tr("Patches: %1 per page, size %2 mm, separator %3 mm, %4 page(s)")
                  .arg(text("labelPatchCountValue"), text("labelPatchSizeValue"), text("labelSeparatorValue"))
                  .arg(s.numberOfPages));
    QStringList order{s.rowByRow ? tr("row by row") : tr("column by column")};
    if (s.invertHorizontal)
        order.append(tr("flipped horizontally"));
    if (s.invertVertical)
        order.append(tr("flipped vertically"));
    if (s.random)
        order.append(tr("random"));
    m_io.line(tr("Order: %1").arg(order.join(QStringLiteral(", "))));
    QString format = ps && ps->isChecked() ? QStringLiteral("DCS (*.eps)")
                                           : (sixteen && sixteen->isChecked() ? QStringLiteral("TIFF 16 bit")
                                                                              : QStringLiteral("TIFF 8 bit"));
    m_io.line(tr("Output: %1, %2 dpi, module %3, application data folder %4")
                  .arg(format, dpi ? dpi->text() : QString(),
                       o.module == BatchOptions::Module::Doc ? QStringLiteral("DOC") : QStringLiteral("Chart"),
                       native(m_environment.appDataFolder())));
}

void BatchDriver::printFindings()
{
    const QList<ErrorWarningItem *> &messages = m_window.validationMessages();
    int counts[3] = {0, 0, 0};
    for (const ErrorWarningItem *item : messages)
        if (item && item->kind() >= 0 && item->kind() <= 2)
            ++counts[item->kind()];
    m_io.line(tr("Validation: %1 error(s), %2 warning(s), %3 info(s)").arg(counts[0]).arg(counts[1]).arg(counts[2]));
    for (const ErrorWarningItem *item : messages) {
        if (!item)
            continue;
        QString kind;
        switch (item->kind()) {
        case ErrorWarningItem::eError: kind = tr("Error"); break;
        case ErrorWarningItem::eWarning: kind = tr("Warning"); break;
        default: kind = tr("Info"); break;
        }
        m_io.line(QStringLiteral("  ") + kind + QStringLiteral(": ") + item->title() + QStringLiteral(": ") +
                  item->description());
    }
}

int BatchDriver::save(const BatchOptions &o)
{
    QMetaObject::invokeMethod(&m_window, "saveTarget", Qt::DirectConnection);
    const QString targets = m_interaction.openedFolder();
    const TargetSettings &s = m_window.targetSettings();
    if (targets.isEmpty()) {
        if (m_interaction.declined())
            m_io.error(tr("The target %1 exists already; it was left as it was. Give --overwrite to replace it.")
                           .arg(quoted(s.targetName)));
        m_io.error(tr("The target was not saved."));
        return BatchMode::ExitFailed;
    }

    const bool dcs = m_window.findChild<QRadioButton *>(QStringLiteral("radioButtonPS"))->isChecked();
    const int module = o.module == BatchOptions::Module::Doc ? SuiteEnvironment::eModuleDOC : SuiteEnvironment::eModuleChart;
    const QString base = targets + QLatin1Char('/') + s.targetName;
    QStringList files;
    for (int k = 1; k <= s.numberOfPages; ++k)
        files.append(dcs ? DCSWriter::pageFilePath(base, k) : TiffWriter::pageFilePath(base, k));
    files.append(m_environment.referencesFolder(module) + QLatin1Char('/') + s.referenceFileName);
    files.append(s.previewFile);
    files.append(base + QStringLiteral(".xml"));
    files.append(base + QStringLiteral(".zip"));

    m_io.line(tr("Files written:"));
    bool complete = true;
    for (const QString &file : files) {
        const QFileInfo info(file);
        if (!info.isFile()) {
            m_io.error(tr("Missing after the save: %1").arg(native(file)));
            complete = false;
            continue;
        }
        m_io.line(QStringLiteral("  ") + native(info.absoluteFilePath()) +
                  tr(" (%1 bytes)").arg(info.size()));
    }
    return complete ? BatchMode::ExitSaved : BatchMode::ExitFailed;
}

int BatchDriver::run(const BatchOptions &o)
{
    const bool ok = loadReference(o) && chooseMode(o) && chooseInstrument(o) && choosePaper(o) && setBorders(o) &&
                    setPageContent(o) && setOrder(o) && setPatchSettings(o) && setPatchCount(o) &&
                    setTargetInfo(o) && setOutputOptions(o);
    if (!ok) {
        m_io.error(m_error);
        return m_usage ? BatchMode::ExitUsage : BatchMode::ExitFailed;
    }
    printTarget(o);
    printFindings();
    return save(o);
}

// True when a file can be made in `folder` (made first when missing).
bool writableFolder(const QString &folder)
{
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(folder + QStringLiteral("/.tessaro-batch-XXXXXX"));
    return probe.open();
}

} // namespace

bool BatchMode::isBatchInvocation(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (!argv[i])
            continue;
        if (std::strcmp(argv[i], "--batch") == 0 || std::strcmp(argv[i], "--help") == 0 ||
            std::strcmp(argv[i], "-h") == 0)
            return true;
    }
    return false;
}

namespace {

QtMessageHandler previousHandler = nullptr;

void filterMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtCriticalMsg && type != QtFatalMsg &&
        (message.contains(QLatin1String("XDG_RUNTIME_DIR not set")) ||
         message.contains(QLatin1String("does not support propagateSizeHints"))))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

void BatchMode::installMessageFilter()
{
    previousHandler = qInstallMessageHandler(filterMessage);
}

QString BatchMode::helpText()
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        tr("Tessaro makes printable colour measurement targets. Without options it opens its window; with\n"
           "--batch it makes one target from the command line, with the same layout, validation and save\n"
           "as the window's \"Save Target\"."));
    addOptions(parser);
    QString text = parser.helpText();
    text += tr("\nOptions not given keep what the window shows after loading the reference: the instrument\n"
               "and papers restored from the user settings of the application data folder and the instrument's\n"
               "defaults. The flags (--random, --flip-*, --read-vertically) are off unless given.\n"
               "The run prints the target, the validation findings (errors, warnings and infos with their\n"
               "titles and texts), every message the window would show, and the files written.\n"
               "\nExit status: 0 saved; 1 the reference could not be loaded, the target exists and --overwrite\n"
               "was not given, or a file could not be written; 2 a wrong option or option value.\n"
               "\nExample:\n"
               "  Tessaro --batch --reference CMYK_1485.ref --instrument \"Tintora Vestra 8mm\" --paper A4 \\\n"
               "          --target-version 1.0 --format tiff16 --out ./out/Vantrel\n");
    return text;
}

BatchMode::Parse BatchMode::parse(const QStringList &arguments, BatchOptions *options, QString *error)
{
    QCommandLineParser parser;
    addOptions(parser);
    auto bad = [error](const QString &text) {
        *error = text;
        return Parse::Error;
    };
    if (!parser.parse(arguments))
        return bad(parser.errorText() + tr(" See --help."));
    if (parser.isSet(QStringLiteral("help")))
        return Parse::Help;
    if (!parser.positionalArguments().isEmpty())
        return bad(tr("Unexpected argument %1; every value belongs to an option. See --help.")
                       .arg(quoted(parser.positionalArguments().first())));
    if (!parser.isSet(QLatin1String(opt::batch)))
        return bad(tr("%1 is needed to make a target from the command line. See --help.").arg(dashed(opt::batch)));

    BatchOptions o;
    auto value = [&parser](const char *name) { return parser.value(QLatin1String(name)); };
    auto isSet = [&parser](const char *name) { return parser.isSet(QLatin1String(name)); };

    if (!isSet(opt::reference) || value(opt::reference).isEmpty())
        return bad(tr("%1 is required: the reference file to make the target from.").arg(dashed(opt::reference)));
    o.reference = value(opt::reference);

    if (isSet(opt::mode)) {
        const QString mode = value(opt::mode);
        if (mode == QLatin1String("advanced"))
            o.advanced = true;
        else if (mode != QLatin1String("easy"))
            return bad(tr("%1: wrong value %2. Accepted values: \"easy\", \"advanced\".").arg(dashed(opt::mode), quoted(mode)));
    }

    if (isSet(opt::instrument)) {
        const QString wanted = value(opt::instrument).trimmed();
        const QStringList easyTexts = instrumentTexts(false);
        const QString custom = InstrumentCatalogue::comboText(DevOption::Custom);
        bool known = false;
        for (const QString &text : instrumentTexts(true))
            known = known || text.compare(wanted, Qt::CaseInsensitive) == 0;
        if (!known)
            return bad(tr("%1: unknown instrument %2. Accepted values: %3; %4 with --mode advanced.")
                           .arg(dashed(opt::instrument), quoted(value(opt::instrument)), quotedList(easyTexts),
                                quoted(custom)));
        if (!o.advanced && custom.compare(wanted, Qt::CaseInsensitive) == 0)
            return bad(tr("%1: %2 is offered in Advanced mode only; add --mode advanced.")
                           .arg(dashed(opt::instrument), quoted(custom)));
        o.instrument = wanted;
    }

    if (isSet(opt::paper)) {
        const QString paper = value(opt::paper).trimmed();
        if (paper.isEmpty())
            return bad(tr("%1: a paper name or WIDTHxHEIGHT in whole mm is needed.").arg(dashed(opt::paper)));
        if (looksLikeSize(paper)) {
            if (!parseWholePair(paper, kMaxPaperMillimetres, &o.paperWidth, &o.paperHeight))
                return bad(tr("%1: wrong size %2. Accepted: WIDTHxHEIGHT in whole mm, each 1..%3 (e.g. 320x450).")
                               .arg(dashed(opt::paper), quoted(paper))
                               .arg(kMaxPaperMillimetres));
            o.paperName = QStringLiteral("%1x%2 mm").arg(o.paperWidth).arg(o.paperHeight);
        } else {
            o.paperName = paper;
        }
    }

    // Controls the window shows in Advanced mode only.
    const char *advancedOnly[] = {opt::borders, opt::leftHeader, opt::rightHeader, opt::referenceArea,
                                  opt::order, opt::flipHorizontal, opt::flipVertical, opt::comment};
    for (const char *name : advancedOnly) {
        if (isSet(name) && !o.advanced)
            return bad(tr("%1 is an Advanced mode setting; add --mode advanced.").arg(dashed(name)));
    }

    if (isSet(opt::borders)) {
        BatchOptions::Borders borders;
        if (!parseBorders(value(opt::borders), &borders))
            return bad(tr("%1: wrong value %2. Accepted: four millimetre values left,top,right,bottom, "
                          "each 0 or more with two decimals at most (e.g. 5,10,5,7.5).")
                           .arg(dashed(opt::borders), quoted(value(opt::borders))));
        o.borders = borders;
    }

    const std::pair<const char *, std::optional<bool> *> switches[] = {
        {opt::leftHeader, &o.leftHeader}, {opt::rightHeader, &o.rightHeader}, {opt::referenceArea, &o.referenceArea}};
    for (const auto &[name, target] : switches) {
        if (!isSet(name))
            continue;
        bool on = false;
        if (!parseOnOff(value(name), &on))
            return bad(tr("%1: wrong value %2. Accepted values: \"on\", \"off\".").arg(dashed(name), quoted(value(name))));
        *target = on;
    }

    if (isSet(opt::order)) {
        const QString order = value(opt::order);
        if (order == QLatin1String("row"))
            o.rowByRow = true;
        else if (order == QLatin1String("column"))
            o.rowByRow = false;
        else
            return bad(tr("%1: wrong value %2. Accepted values: \"row\", \"column\".").arg(dashed(opt::order), quoted(order)));
    }
    o.flipHorizontal = isSet(opt::flipHorizontal);
    o.flipVertical = isSet(opt::flipVertical);
    o.random = isSet(opt::random);
    o.readVertically = isSet(opt::readVertically);
    if (isSet(opt::comment))
        o.comment = value(opt::comment);

    if (isSet(opt::patchCount)) {
        int x = 0, y = 0;
        if (!parseWholePair(value(opt::patchCount), 99999, &x, &y))
            return bad(tr("%1: wrong value %2. Accepted: COLUMNSxROWS, whole numbers of 1 or more (e.g. 18x14).")
                           .arg(dashed(opt::patchCount), quoted(value(opt::patchCount))));
        o.patchesX = x;
        o.patchesY = y;
    }
    if (isSet(opt::patchSize)) {
        double w = 0, h = 0;
        if (!parsePair(value(opt::patchSize), &w, &h) || w <= 0 || h <= 0)
            return bad(tr("%1: wrong value %2. Accepted: WIDTHxHEIGHT in mm, above 0 with two decimals at most "
                          "(e.g. 12.5x13).")
                           .arg(dashed(opt::patchSize), quoted(value(opt::patchSize))));
        o.patchWidth = w;
        o.patchHeight = h;
    }
    if (isSet(opt::separators)) {
        double x = 0, y = 0;
        if (!parsePair(value(opt::separators), &x, &y))
            return bad(tr("%1: wrong value %2. Accepted: COLUMNxROW in mm, 0 or more with two decimals at most "
                          "(e.g. 0.5x0.5).")
                           .arg(dashed(opt::separators), quoted(value(opt::separators))));
        o.separatorX = x;
        o.separatorY = y;
    }

    const struct
    {
        const char *name;
        int maxLength;
        std::optional<QString> *target;
    } texts[] = {
        {opt::targetName, kTargetNameLength, &o.targetName},
        {opt::targetVersion, kVersionLength, &o.targetVersion},
        {opt::printerMedia, kPrinterMediaLength, &o.printerMedia},
    };
    for (const auto &t : texts) {
        if (!isSet(t.name))
            continue;
        const QString text = value(t.name);
        if (text.size() > t.maxLength)
            return bad(tr("%1: %2 is too long. Accepted: at most %3 characters.")
                           .arg(dashed(t.name), quoted(text))
                           .arg(t.maxLength));
        *t.target = text;
    }
    if (o.targetName) {
        if (o.targetName->isEmpty())
            return bad(tr("%1: the target name must not be empty.").arg(dashed(opt::targetName)));
        if (o.targetName->contains(QLatin1Char('/')) || o.targetName->contains(QLatin1Char('\\')))
            return bad(tr("%1: %2 is not accepted: a target name must not contain \"/\" or \"\\\".")
                           .arg(dashed(opt::targetName), quoted(*o.targetName)));
    }

    if (isSet(opt::dpi)) {
        int dpi = 0;
        if (!parseInteger(value(opt::dpi), TargetSaver::kMinDpi, TargetSaver::kMaxDpi, &dpi))
            return bad(tr("%1: wrong value %2. Accepted: a whole number %3..%4.")
                           .arg(dashed(opt::dpi), quoted(value(opt::dpi)))
                           .arg(TargetSaver::kMinDpi)
                           .arg(TargetSaver::kMaxDpi));
        o.dpi = dpi;
    }

    if (isSet(opt::format)) {
        const QString format = value(opt::format);
        if (format == QLatin1String("tiff"))
            o.format = BatchOptions::Format::Tiff8;
        else if (format == QLatin1String("tiff16"))
            o.format = BatchOptions::Format::Tiff16;
        else if (format == QLatin1String("dcs"))
            o.format = BatchOptions::Format::Dcs;
        else
            return bad(tr("%1: wrong value %2. Accepted values: \"tiff\", \"tiff16\", \"dcs\".")
                           .arg(dashed(opt::format), quoted(format)));
    }

    if (isSet(opt::module)) {
        const QString module = value(opt::module);
        if (module == QLatin1String("chart"))
            o.module = BatchOptions::Module::Chart;
        else if (module == QLatin1String("doc"))
            o.module = BatchOptions::Module::Doc;
        else
            return bad(tr("%1: wrong value %2. Accepted values: \"chart\", \"doc\".").arg(dashed(opt::module), quoted(module)));
    }

    if (isSet(opt::blackInk)) {
        int percent = 0;
        if (!parseInteger(value(opt::blackInk), 0, 100, &percent))
            return bad(tr("%1: wrong value %2. Accepted: a whole number 0..100.")
                           .arg(dashed(opt::blackInk), quoted(value(opt::blackInk))));
        o.blackInk = percent;
    }

    if (isSet(opt::out)) {
        if (value(opt::out).isEmpty())
            return bad(tr("%1: an output folder is needed.").arg(dashed(opt::out)));
        o.outputFolder = value(opt::out);
    }
    o.overwrite = isSet(opt::overwrite);

    *options = o;
    return Parse::Run;
}

int BatchMode::main(const QStringList &arguments, QIODevice *out, QIODevice *err)
{
    const Output io(out, err);
    BatchOptions options;
    QString error;
    switch (parse(arguments, &options, &error)) {
    case Parse::Help:
        io.line(helpText());
        return ExitSaved;
    case Parse::Error:
        io.error(error);
        return ExitUsage;
    case Parse::Run:
        break;
    }
    return run(options, out, err);
}

int BatchMode::run(const BatchOptions &options, QIODevice *out, QIODevice *err)
{
    const Output io(out, err);
    const QFileInfo reference(options.reference);
    if (!reference.isFile()) {
        io.error(tr("The reference file %1 does not exist.").arg(native(reference.absoluteFilePath())));
        return ExitFailed;
    }

    SuitePlatform platform = SuitePlatform::standard();
    if (!options.outputFolder.isEmpty())
        platform.appDataOverride = QFileInfo(options.outputFolder).absoluteFilePath();
    const SuiteEnvironment environment(platform);
    const QString appData = environment.appDataFolder();
    if (!writableFolder(appData)) {
        io.error(tr("The output folder %1 cannot be created or written.").arg(native(appData)));
        return ExitFailed;
    }

    auto interaction = std::make_unique<BatchInteraction>(options.overwrite, out, err);
    BatchInteraction *answers = interaction.get();
    Tessaro window(std::move(interaction), environment);
    // Laid out as on screen (the page size gives the preview bitmap), but never shown.
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    BatchDriver driver(window, *answers, environment, io);
    const int code = driver.run(options);
    window.close();
    return code;
}
