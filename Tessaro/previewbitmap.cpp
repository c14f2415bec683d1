// Preview bitmap of a saved target.
#include "previewbitmap.h"

#include <QImage>
#include <QPixmap>
#include <QSaveFile>
#include <QTransform>
#include <QWidget>

QImage previewThumbnail(QWidget &page)
{
    const QSize size = page.size();
    if (size.isEmpty())
        return QImage();
    QPixmap pixmap(size);
    page.render(&pixmap, QPoint(0, 0), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    // Counter-clockwise on screen: the page's top edge goes to the left.
    const QPixmap turned = pixmap.transformed(QTransform().rotate(-90), Qt::FastTransformation);
    return turned.scaled(150, 150, Qt::KeepAspectRatio, Qt::FastTransformation).toImage();
}

bool savePreviewBitmap(QWidget &page, const QString &path)
{
    const QImage thumbnail = previewThumbnail(page);
    if (thumbnail.isNull())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!thumbnail.save(&file, "BMP")) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
