#include "ui/catalogue/entrylist.h"

#include <QByteArray>
#include <QListWidget>

#include "core/catalogue/catalogfile.h"
#include "core/common/encoding.h"

namespace zondari {
namespace {

// Where an item keeps the bytes of an entry that is not UTF-8.
constexpr int kEntryBytesRole = Qt::UserRole + 1;

}  // namespace

void fillEntryList(QListWidget* list, const std::vector<std::string>& entries)
{
    list->clear();
    // Added in one step: a disc of 100,000 files fills the list at once.
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(entries.size()));
    for (const std::string& e : entries)
        texts << QString::fromStdString(catalogue::displayText(e));
    list->addItems(texts);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!encoding::isValidUtf8(entries[i]))
            list->item(static_cast<int>(i))
                ->setData(kEntryBytesRole, QByteArray(entries[i].data(), static_cast<qsizetype>(entries[i].size())));
    }
}

std::vector<std::string> entryListOf(const QListWidget* list)
{
    std::vector<std::string> entries;
    entries.reserve(static_cast<std::size_t>(list->count()));
    for (int i = 0; i < list->count(); ++i) {
        const QListWidgetItem* item = list->item(i);
        const QVariant bytes = item->data(kEntryBytesRole);
        entries.push_back(bytes.isValid() ? bytes.toByteArray().toStdString() : item->text().toStdString());
    }
    return entries;
}

}  // namespace zondari
