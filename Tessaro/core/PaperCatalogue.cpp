// Paper list, paper combo index and the instrument's own paper.
#include "PaperCatalogue.h"

#include "TargetSettings.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

PaperCatalogue::PaperCatalogue(TargetSettings *settings)
    : m_settings(settings)
{
}

QStringList PaperCatalogue::comboTexts() const
{
    QStringList texts;
    for (const PaperSize &paper : std::as_const(m_settings->papers))
        texts.append(paper.comboText());
    return texts;
}

void PaperCatalogue::fillCombo()
{
    const QList<PaperSize> &papers = m_settings->papers;
    if (papers.isEmpty()) {
        m_currentIndex = -1;
        return;
    }
    const auto it = std::find_if(papers.cbegin(), papers.cend(),
                                 [](const PaperSize &p) { return p.selected; });
    m_currentIndex = it == papers.cend() ? 0 : static_cast<int>(it - papers.cbegin());
    const PaperSize &paper = papers.at(m_currentIndex);
    m_settings->pageSize = QSizeF(paper.width, paper.height);
}

bool PaperCatalogue::selectPaper(int index)
{
    QList<PaperSize> &papers = m_settings->papers;
    if (index < 0 || index >= papers.size())
        return false;
    for (int i = 0; i < papers.size(); ++i)
        papers[i].selected = (i == index);
    const PaperSize &paper = papers.at(index);
    m_settings->pageSize = QSizeF(paper.width, paper.height);
    m_settings->borderLeft = paper.borderLeft;
    m_settings->borderRight = paper.borderRight;
    m_settings->borderTop = paper.borderTop;
    m_settings->borderBottom = paper.borderBottom;
    m_currentPaper = paper;
    m_currentIndex = index;
    m_selectionMade = true;
    return true;
}

double PaperCatalogue::parseBorderMillimetres(const QString &text)
{
    bool ok = false;
    // The edits take C-locale decimals whatever the desktop language.
    const double mm = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(mm))
        return 0;
    return mm * 1000;
}

QString PaperCatalogue::borderText(double micrometres)
{
    return QString::number(micrometres / 1000, 'g', 6);
}

void PaperCatalogue::setBorders(const QString &top, const QString &left, const QString &right,
                                const QString &bottom)
{
    m_settings->borderTop = parseBorderMillimetres(top);
    m_settings->borderLeft = parseBorderMillimetres(left);
    m_settings->borderRight = parseBorderMillimetres(right);
    m_settings->borderBottom = parseBorderMillimetres(bottom);
}

bool PaperCatalogue::instrumentCanUseA4(const TargetSettings &s)
{
    const bool deskFamily = s.deviceDesk && !s.devicePendra && !s.deviceVestra && !s.deviceVestrazq;
    return !deskFamily;
}

void PaperCatalogue::insertAtTop(const PaperSize &paper)
{
    m_settings->papers.prepend(paper);
    if (m_currentIndex >= 0)
        ++m_currentIndex; // the combo keeps its current item, now one row lower
    else
        selectPaper(0); // an empty combo makes its first item current
}

bool PaperCatalogue::removeAt(int index)
{
    QList<PaperSize> &papers = m_settings->papers;
    if (index < 0 || index >= papers.size())
        return false;
    papers.removeAt(index);
    if (index < m_currentIndex) {
        --m_currentIndex;
    } else if (index == m_currentIndex) {
        // The combo moves to the row now in that place (or the last row) and
        // reports it as a new selection.
        m_currentIndex = -1;
        if (!papers.isEmpty())
            selectPaper(std::min<int>(index, static_cast<int>(papers.size()) - 1));
    }
    return true;
}

bool PaperCatalogue::makeCurrent(int index)
{
    if (index == m_currentIndex)
        return false;
    return selectPaper(index);
}

void PaperCatalogue::RecoverA4Paper()
{
    PaperSize a4 = m_settings->paperA4;
    a4.selected = false;
    insertAtTop(a4);
}

PaperSize PaperCatalogue::instrumentPaper(const TargetSettings &s, DevOption comboInstrument)
{
    if (s.devicePendra || s.deviceVestra)
        return s.paperA4;
    if (s.deviceDesk)
        return s.deviceVestrazq ? s.paperA4 : s.paperTintoraDesk;
    if (s.deviceVestrazq)
        return comboInstrument == DevOption::TintoraVestraZqTextile ? s.paperVestrazqTextile
                                                                    : s.paperVestrazq;
    return s.paperA4;
}

bool PaperCatalogue::AddDefaultPaperSize(DevOption comboInstrument)
{
    m_selectionMade = false;
    QList<PaperSize> &papers = m_settings->papers;
    for (PaperSize &paper : papers) {
        if (paper == m_currentPaper)
            paper.selected = false;
    }

    PaperSize paper = instrumentPaper(*m_settings, comboInstrument);
    paper.selected = true;
    m_currentPaper = paper;

    const qsizetype existing = papers.indexOf(paper);
    if (existing >= 0) {
        papers[existing].selected = true;
        makeCurrent(static_cast<int>(existing));
    } else {
        m_settings->pageSize = QSizeF(paper.width, paper.height);
        insertAtTop(paper);
        makeCurrent(0);
    }
    return m_selectionMade;
}

bool PaperCatalogue::ResetPaperSizeSettings(DevOption comboInstrument)
{
    bool selected = false;
    const bool canUseA4 = instrumentCanUseA4(*m_settings);
    if (m_a4Removed && (canUseA4 || m_settings->advancedMode)) {
        m_selectionMade = false;
        RecoverA4Paper();
        selected = m_selectionMade;
        m_a4Removed = false;
    }
    if (!canUseA4 && !m_settings->advancedMode) {
        m_selectionMade = false;
        const PaperSize &a4 = m_settings->paperA4;
        for (int i = static_cast<int>(m_settings->papers.size()) - 1; i >= 0; --i) {
            if (m_settings->papers.at(i) == a4) {
                removeAt(i);
                m_a4Removed = true;
            }
        }
        selected = selected || m_selectionMade;
    }
    const bool defaultSelected = AddDefaultPaperSize(comboInstrument);
    return selected || defaultSelected;
}

bool PaperCatalogue::deletePaper(int index, DevOption comboInstrument)
{
    if (!removeAt(index))
        return false;
    if (m_settings->papers.isEmpty())
        AddDefaultPaperSize(comboInstrument);
    return true;
}

bool PaperCatalogue::addPaper(TargetSettings &settings, const PaperSize &paper)
{
    if (settings.papers.contains(paper))
        return false;
    settings.papers.append(paper);
    return true;
}
