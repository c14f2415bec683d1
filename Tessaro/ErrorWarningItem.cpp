// One validation finding.
#include "ErrorWarningItem.h"

ErrorWarningItem::ErrorWarningItem(int kind, const QString &title, const QString &description)
    : QObject(nullptr), m_kind(kind), m_title(title), m_description(description)
{
}
