// The thumbnail of a saved target: the page as shown on screen, turned a quarter to the
// left and fitted into 150 x 150 pixels, stored as a Windows bitmap.
#pragma once

#include <QString>

class QImage;
class QWidget;

// The thumbnail of `page` at its current size; null when the widget has no area.
QImage previewThumbnail(QWidget &page);
// Writes the thumbnail to `path` ("BMP"), replacing an existing file only when the new
// one was written completely. False when it could not be written.
bool savePreviewBitmap(QWidget &page, const QString &path);
