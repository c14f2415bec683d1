// Main window: the slots that open the paper, patch and warnings dialogs. Every dialog is
// made for one use, runs modally through the window's UserInteraction and goes when the
// slot returns.
#include "tessaro.h"

#include "UserInteraction.h"
#include "newpaperdlg.h"
#include "patchcountxydlg.h"
#include "patchsettingsdlg.h"
#include "warningsdialog.h"

#include <QComboBox>

void Tessaro::addNewPaper()
{
    NewPaperDlg dialog(&settings, this);
    interaction->execDialog(dialog);
    // The dialog appended the paper (or nothing); the selection stays where it was.
    fillPaperCombo();
    refresh();
}

void Tessaro::deletePaper()
{
    const int index = ui.comboBoxPaperSize->currentIndex();
    if (index < 0 || index >= settings.papers.size())
        return;
    const QMessageBox::StandardButton answer = interaction->question(
        this, QMessageBox::Question, tr("Delete paper"),
        tr("Delete paper: ") + settings.papers[index].name + QStringLiteral(" ?"),
        QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    paperCatalogue.deletePaper(index, currentDevice());
    syncPaperCombo();
    // Another paper became current: its size and borders are the target's now.
    previewTarget();
}

void Tessaro::changePatchSettings()
{
    PatchSettingsDlg dialog(&settings, this);
    connect(&dialog, SIGNAL(previewTarget()), this, SLOT(previewTarget()));
    interaction->execDialog(dialog);
    previewTarget();
}

void Tessaro::changePathcCountXY()
{
    PatchCountXYDlg dialog(&settings, this);
    connect(&dialog, SIGNAL(previewTarget()), this, SLOT(previewTarget()));
    connect(this, SIGNAL(patchCountUpdated()), &dialog, SLOT(patchCountUpdated()));
    interaction->execDialog(dialog);
    previewTarget();
}

void Tessaro::showWarningsDialog()
{
    WarningsDialog dialog(this, messages);
    interaction->execDialog(dialog);
}
