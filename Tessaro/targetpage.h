// TargetPage: the widget that draws one page of a colour target, on screen as the main
// window's preview and, through renderPage, into the output images of the page writers.
//
// Glossary: mark origin = the header offset of the page (borders plus the left furniture);
// patch-area origin = the mark origin moved past the auto-positioning band; px(v) = a
// length v in um times `scaleFactor` (pixels per um); font unit = the point size that
// makes a font of size f about f mm high on the page.
#pragma once

#include "targetpatchgrid.h"

#include <QWidget>

#include <memory>

class QPainter;
class ReferenceFileData;
class TargetSettings;

class TargetPage : public QWidget
{
public:
    // Patch order flags of setupPatches.
    enum OrderFlag {
        RowByRow = 1,
        ColumnByColumn = 2,
        MirrorLeftRight = 4,
        MirrorTopBottom = 8,
    };

    TargetPage(QWidget *parent, TargetSettings *settings);
    ~TargetPage() override;

    // Builds a new grid for `reference` and places its sets; pageNumber becomes 1 and the
    // reference's print order is rebuilt.
    void setupPatches(ReferenceFileData *reference, int orderFlags);
    // Paints the page for output into a surface of imageSize pixels: everything but the
    // patch fills and the target frame. `scaleFactor` is restored before it returns.
    void renderPage(QPainter &painter, const QSize &imageSize);

    TargetPatchGrid *grid() const { return patchGrid.get(); }
    TargetSettings *targetSettings() const { return settings; }

    int heightForWidth(int w) const override;
    virtual int widthForHeight(int h) const;

    // The footer text of the current page (also drawn on the page).
    QString footerText() const;
    // Tooltip text for a widget position; empty outside the patches or over an empty slot.
    QString tooltipTextAt(const QPointF &position) const;
    // Sets `scaleFactor` (and the grid's scale) for a drawing surface of w x h pixels.
    void scaleToSize(int w, int h);
    // Fits the page into a container of the given size (resizes and moves the page).
    void fitIntoContainer(const QSize &containerSize);

    int pageNumber = 0;
    bool showPatches = true;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Painting;

    void paintPage(QPainter &painter, bool forOutput);
    void drawAutopositioningMarks(Painting &p);
    void drawManualMarks(Painting &p);
    void drawReferenceArea(Painting &p);
    void drawLeftHeader(Painting &p);
    void drawLogo(Painting &p);
    void drawRightHeader(Painting &p);
    void drawFooter(Painting &p);
    void drawDeskLabels(Painting &p);
    void drawPatchesAndFrame(Painting &p);
    void drawStartingLines(Painting &p);
    void drawAutopositioningBorders(Painting &p);

    std::unique_ptr<TargetPatchGrid> patchGrid;
    TargetSettings *settings;
    // Survives the grids, so every refresh after the first finds its ink mixtures.
    DisplayColourCache colourCache;
};
