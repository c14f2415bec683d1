// Tessaro's main window: owns the target settings record, the loaded reference, the page
// painter and the validation findings, and runs one synchronous refresh (layout,
// validation, page update) after every user change.
//
// The sources are split by concern: tessaro.cpp (construction, wiring, mode visibility,
// refresh, pages, counters, simple option slots), tessaro_form.cpp (the controls),
// tessaro_reference.cpp (reference loading, channel colours, mode switch),
// tessaro_layout.cpp (instrument, papers, layout run, validation), tessaro_dialogs.cpp
// (paper, patch and warnings dialogs), tessaro_paint.cpp (page painter) and
// tessaro_save.cpp (save flow).
#pragma once

#include "DevOption.h"
#include "ErrorWarningItem.h"
#include "PaperCatalogue.h"
#include "PaperSize.h"
#include "ReferenceFileData.h"
#include "SuiteEnvironment.h"
#include "TargetSettings.h"
#include "tessaro_form.h"
#include "UserInteraction.h"

#include <QList>
#include <QMainWindow>
#include <QString>

#include <memory>

class ChannelsColorPicker;
struct InstrumentControls;
class QCloseEvent;
class TargetPage;

class Tessaro : public QMainWindow
{
    Q_OBJECT
public:
    // The instrument enumeration shared with the layout core.
    using DevOption = ::DevOption;

    // Builds the form, makes the connections and restores the user settings of
    // `environment`'s application data folder. `interaction` answers every modal question
    // (null: the toolkit's dialogs).
    explicit Tessaro(std::unique_ptr<UserInteraction> interaction = nullptr,
                     const SuiteEnvironment &environment = SuiteEnvironment::standard(),
                     QWidget *parent = nullptr);
    ~Tessaro() override;

    // Writes the user settings file; called once when the event loop has ended.
    bool saveUserSettings() const;

    const TargetSettings &targetSettings() const { return settings; }
    TargetSettings &targetSettings() { return settings; }
    const ReferenceFileData *currentReference() const { return reference.get(); }
    QString currentReferencePath() const { return referencePath; }
    const QList<ErrorWarningItem *> &validationMessages() const { return messages; }
    bool isEasyMode() const { return easyMode; }
    int patchOrderFlags() const { return orderFlags; }
    ChannelsColorPicker *channelsColorPicker() const { return channelsPicker; }
    const SuiteEnvironment &suiteEnvironment() const { return environment; }
    UserInteraction &userInteraction() const { return *interaction; }
    const TessaroForm &form() const { return ui; }
    TargetPage *page() const { return targetPage; }
    const PaperCatalogue &papers() const { return paperCatalogue; }
    // The instrument of the combo's current entry; Custom when the entry holds none.
    DevOption currentDevice() const;

signals:
    void patchCountUpdated();

public slots:
    void selectReferenceFile();
    void modifyColorChannels();
    void toggleMode();
    void addNewPaper();
    void deletePaper();
    void changePatchSettings();
    void changePathcCountXY();
    void idFromRefFileSelected();
    void nameFromRefFileSelected();
    void addVerificationPatches();
    void targetNameChanged(const QString &text);
    void printerMediaChanged(const QString &text);
    void versionChanged(const QString &text);
    void autoPositioningSelected();
    void manualPositioningVestraSelected();
    void manualPositioningPendraSelected();
    void startingLinesTintoraDeskSelected();
    void aperture2mmSelected();
    void aperture6mmSelected();
    void aperture8mmSelected();
    void blackWhiteSeparatorsSelected();
    void autopositioningBordersSelected();
    void deviceSelected(int index);
    void paperSizeSelected(int index);
    void ResetPaperSizeSettings();
    void RecoverA4Paper();
    void AddDefaultPaperSize();
    void includeLeftHeaderSelected();
    void includeRightHeaderSelected();
    void referenceAreaSelected();
    void setPaperSizeSelected();
    void rowByRowSelected();
    void columnBycolumnSelected();
    void flipHorizontalSelected();
    void flipVerticalSelected();
    void randomSelected();
    void currentPageChanged();
    bool updateReferenceFile(bool resetToDefault = false);
    void onResetToDefault(bool redraw = true);
    void updateRefereceWithChannels();
    void previewRefereceWithChannels();

protected slots:
    void previewTarget();
    void showWarningsDialog();
    void saveTarget();
    void togglePS();
    void toggleTiff();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Construction and wiring (tessaro.cpp).
    void fixLeftPaneWidth();
    void installBorderValidators();
    void setupPageNavigation();
    void createConnections();
    void readSettings();
    void applyModeVisibility();
    void refresh();
    void updateValueLabels();
    void setPageLabel(int page, int count);
    bool hasReference() const { return !referencePath.isEmpty(); }
    void setBorderEdits(double left, double top, double right, double bottom);
    void removeTempReference() const;

    // Reference loading (tessaro_reference.cpp).
    bool loadReference(bool resetToDefault);
    QString spectralLibraryPath() const;
    bool initSpectralModel(ReferenceFileData &data);

    // Instrument, papers, layout and validation (tessaro_layout.cpp).
    void fillDeviceCombo();
    int deviceItem(DevOption option) const;
    void applyInstrumentControls(const InstrumentControls &controls);
    void updateMinimumPatchSize();
    void fillPaperCombo();
    void syncPaperCombo();
    void showBorders();
    void runLayout(int depth = 0);
    void validate();

    // Page painter (tessaro_paint.cpp).
    void createTargetPage();
    void updatePages();
    void showPainterPage(int page);
    void relabelPatches();
    void handReferenceToPainter();
    void fitPageIntoContainer();

    TessaroForm ui;
    std::unique_ptr<UserInteraction> interaction;
    SuiteEnvironment environment;

    bool easyMode = true;
    bool aperturesEnabled = false;
    QString referencePath;
    TargetSettings settings;
    // Keeps the paper combo's index, the current paper and whether A4 is out of the list.
    PaperCatalogue paperCatalogue{&settings};
    TargetPage *targetPage = nullptr; // child of pageHolder once the painter exists
    std::unique_ptr<ReferenceFileData> reference;
    int orderFlags = 1;
    QList<ErrorWarningItem *> messages;
    ChannelsColorPicker *channelsPicker = nullptr;
};
