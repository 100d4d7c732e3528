#include "ui/catalogue/entrylist.h"

#include <QListWidget>

#include "core/catalogue/catalogfile.h"

namespace zondari {

void fillEntryList(QListWidget* list, const std::vector<std::string>& entries)
{
    list->clear();
    // Added in one step: a disc of 100,000 files fills the list at once.
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(entries.size()));
    for (const std::string& e : entries)
        texts << QString::fromStdString(catalogue::displayText(e));
    list->addItems(texts);
}

} // namespace zondari
