// Main window: the page painter in the page area, the page update after each layout run
// (order flags, page assignment of the sets, patch set-up, page navigation) and turning
// pages.
#include "tessaro.h"

#include "targetpage.h"
#include "targetpatchgrid.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollArea>
#include <QSlider>

#include <algorithm>

void Tessaro::createTargetPage()
{
    targetPage = new TargetPage(ui.pageHolder, &settings);
    targetPage->setObjectName(QStringLiteral("targetPage"));
    // The page follows the size of the visible page area and centres itself in it.
    ui.scrollArea_2->installEventFilter(targetPage);
    targetPage->show();
    ui.scrollArea_2->resize(ui.scrollArea_2->size());
    fitPageIntoContainer();
}

void Tessaro::fitPageIntoContainer()
{
    if (!targetPage)
        return;
    targetPage->fitIntoContainer(ui.scrollArea_2->size());
    // A hidden page gets its resize event only when shown; the scale is needed before.
    targetPage->scaleToSize(targetPage->width(), targetPage->height());
}

void Tessaro::updatePages()
{
    orderFlags = ui.radioButtonColumnBycolumn->isChecked() ? TargetPage::ColumnByColumn : TargetPage::RowByRow;
    if (ui.checkBoxFlipHorizontal->isChecked())
        orderFlags += TargetPage::MirrorLeftRight;
    if (ui.checkBoxFlipVertical->isChecked())
        orderFlags += TargetPage::MirrorTopBottom;
    reference->AddVerificationFrame(settings.verificationPatches, settings.patchesX, settings.patchesY,
                                    settings.numberOfPages);
    handReferenceToPainter();

    // The painter and the writers expect at least one page.
    const int pages = std::max(1, settings.numberOfPages);
    {
        const QSignalBlocker blocker(ui.horizontalSliderPage);
        ui.horizontalSliderPage->setMaximum(pages);
        ui.horizontalSliderPage->setValue(1);
    }
    setPageLabel(1, pages);
    showPainterPage(1);
}

void Tessaro::showPainterPage(int page)
{
    if (targetPage) {
        targetPage->pageNumber = page;
        targetPage->update();
    }
    ui.pageHolder->update();
}

void Tessaro::relabelPatches()
{
    if (targetPage && targetPage->grid()) {
        targetPage->grid()->assignIdsAndNames(!settings.useReferenceID, !settings.useReferenceName);
        targetPage->update();
    }
}

void Tessaro::handReferenceToPainter()
{
    if (!targetPage || !reference)
        return;
    // The window may have grown since the last fit; the grid takes the page's scale.
    fitPageIntoContainer();
    targetPage->setupPatches(reference.get(), orderFlags);
    targetPage->update();
}
