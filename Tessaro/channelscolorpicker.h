// Dialog that edits the names and display colours of the colorants of a CMYK-plus-spot or
// N-colour reference, one ColorPickerItem row per colorant. Its entries become the channel
// information that the main window stores into a copy of the reference.
#pragma once

#include "ReferenceFileData.h"

#include <QDialog>
#include <QList>
#include <QStringList>

#include <vector>

class ColorPickerItem;
class QPushButton;
class QScrollArea;
class QVBoxLayout;
class UserInteraction;

class ChannelsColorPicker : public QDialog
{
    Q_OBJECT
public:
    // `interaction` answers the rows' colour dialogs; null uses the toolkit's own.
    explicit ChannelsColorPicker(QWidget *parent = nullptr, UserInteraction *interaction = nullptr);

    // Deletes every row.
    void reset();
    // One row per name; a set flag makes the row's name and colour read-only.
    void setChannels(const QStringList &names, const QList<bool> &readOnlyFlags);
    // Row i takes labs[i], for i below both counts.
    void setChannelLabs(const std::vector<LabTriple> &labs);
    // Puts the rows into the dialog and connects them to SaveSelectedColors(); safe to
    // repeat until the next reset().
    void prepareRows();
    // prepareRows(), then runs the dialog modally.
    int exec() override;

    // One channel-information entry per row, in order.
    QStringList channelInfo() const;
    const QList<ColorPickerItem *> &rows() const { return items; }

signals:
    void SaveSelectedColors();
    void UpdateReferenceWithChannels();
    void PreviewReferenceWithChannels();

public slots:
    void ChannelsColorsSelected();
    void PreviewSelected();

private:
    QList<ColorPickerItem *> items;
    UserInteraction *interaction;
    QScrollArea *scrollArea = nullptr;
    QWidget *colorItemsWidget = nullptr;
    QVBoxLayout *itemsLayout = nullptr;
    QPushButton *PreviewButton = nullptr;
    QPushButton *OKButton = nullptr;
};
