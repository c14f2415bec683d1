// Main window: the save flow of the target package. The slot only gathers the form's save
// inputs; TargetSaver does the work.
#include "tessaro.h"

#include "targetpage.h"
#include "targetsaver.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTextEdit>

void Tessaro::saveTarget()
{
    TargetSaveInputs inputs;
    inputs.dpiText = ui.lineEditDpi->text();
    inputs.docModule = !ui.radioButtonChart->isChecked();
    inputs.dcs = ui.radioButtonPS->isChecked();
    inputs.sixteenBit = ui.checkBox16Bit->isChecked();
    inputs.comment = ui.commentTextEdit->toPlainText();

    TargetSaver saver(settings, reference.get(), targetPage, environment, *interaction, this);
    saver.busyChanged = [this](bool busy) {
        if (busy)
            setCursor(Qt::WaitCursor);
        else
            setCursor(Qt::ArrowCursor);
    };
    saver.save(inputs);
}
