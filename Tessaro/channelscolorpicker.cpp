// The channel colour dialog: rows of colorants, Preview and OK.
#include "channelscolorpicker.h"

#include "ChannelInfoStore.h"
#include "colorpickeritem.h"

#include <QHBoxLayout>
#include <QLayoutItem>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

ChannelsColorPicker::ChannelsColorPicker(QWidget *parent, UserInteraction *interaction_)
    : QDialog(parent), interaction(interaction_)
{
    setObjectName(QStringLiteral("ChannelsColorPicker"));
    setWindowTitle(tr("Select channels colors"));
    resize(593, 579);

    auto *layout = new QVBoxLayout(this);
    scrollArea = new QScrollArea(this);
    scrollArea->setObjectName(QStringLiteral("scrollArea"));
    scrollArea->setWidgetResizable(true);
    colorItemsWidget = new QWidget;
    colorItemsWidget->setObjectName(QStringLiteral("colorItemsWidget"));
    itemsLayout = new QVBoxLayout(colorItemsWidget);
    itemsLayout->setContentsMargins(40, 20, 40, 20);
    scrollArea->setWidget(colorItemsWidget);
    layout->addWidget(scrollArea);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    PreviewButton = new QPushButton(tr("Preview"), this);
    PreviewButton->setObjectName(QStringLiteral("PreviewButton"));
    PreviewButton->setMinimumSize(70, 20);
    OKButton = new QPushButton(tr("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setMinimumSize(70, 20);
    buttons->addWidget(PreviewButton);
    buttons->addWidget(OKButton);
    layout->addLayout(buttons);

    connect(OKButton, SIGNAL(clicked()), this, SLOT(ChannelsColorsSelected()));
    connect(PreviewButton, SIGNAL(clicked()), this, SLOT(PreviewSelected()));
}

void ChannelsColorPicker::reset()
{
    // Rows not yet put into the layout are deleted as well, so none is left floating.
    qDeleteAll(items);
    items.clear();
    while (QLayoutItem *item = itemsLayout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
}

void ChannelsColorPicker::setChannels(const QStringList &names, const QList<bool> &readOnlyFlags)
{
    for (int i = 0; i < names.size(); ++i) {
        const bool readOnly = i < readOnlyFlags.size() && readOnlyFlags[i];
        auto *row = new ColorPickerItem(this, interaction);
        row->setColorName(names[i]);
        row->setNameReadOnly(readOnly);
        row->setLabReadOnly(readOnly);
        items.append(row);
    }
}

void ChannelsColorPicker::setChannelLabs(const std::vector<LabTriple> &labs)
{
    const int count = std::min(static_cast<int>(labs.size()), static_cast<int>(items.size()));
    for (int i = 0; i < count; ++i)
        items[i]->setLabValues(labs[static_cast<std::size_t>(i)].L, labs[static_cast<std::size_t>(i)].a,
                               labs[static_cast<std::size_t>(i)].b);
}

void ChannelsColorPicker::prepareRows()
{
    for (ColorPickerItem *row : std::as_const(items)) {
        if (itemsLayout->indexOf(row) < 0)
            itemsLayout->addWidget(row);
        connect(this, SIGNAL(SaveSelectedColors()), row, SLOT(SaveLabValues()), Qt::UniqueConnection);
    }
}

int ChannelsColorPicker::exec()
{
    prepareRows();
    return QDialog::exec();
}

QStringList ChannelsColorPicker::channelInfo() const
{
    QStringList entries;
    for (const ColorPickerItem *row : items) {
        const QList<double> lab = row->getLabValues();
        if (lab.size() == 3) {
            const double values[3] = {lab[0], lab[1], lab[2]};
            entries.append(QString::fromStdString(ChannelInfoEntry(row->getColorName().toStdString(), values)));
            continue;
        }
        // A row that was never saved has no values between the name and the closing quote.
        QString entry = QStringLiteral("\"") + row->getColorName() + QStringLiteral(",Lab,");
        for (double value : lab)
            entry += QString::number(value, 'g', 6) + QLatin1Char(' ');
        entries.append(entry + QStringLiteral("\""));
    }
    return entries;
}

void ChannelsColorPicker::ChannelsColorsSelected()
{
    emit SaveSelectedColors();
    close();
    emit UpdateReferenceWithChannels();
}

void ChannelsColorPicker::PreviewSelected()
{
    emit SaveSelectedColors();
    emit PreviewReferenceWithChannels();
}
