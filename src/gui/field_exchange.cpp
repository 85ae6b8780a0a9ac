#include "gui/field_exchange.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <algorithm>
#include <limits>

#include "gui/dialog_service.h"
#include "gui/ui_language.h"

namespace pictor::gui {
namespace {

QString BetweenText(long long min, long long max) {
    return Translate("FieldExchange", kEnterIntegerBetween).arg(min).arg(max);
}

void SelectByPrefix(QComboBox* combo, const QString& text) {
    // Qt::MatchStartsWith without Qt::MatchCaseSensitive ignores letter case.
    const int found = text.isEmpty() ? -1 : combo->findText(text, Qt::MatchStartsWith);
    if (found >= 0) {
        combo->setCurrentIndex(found);
    } else {
        combo->setCurrentIndex(-1);
        combo->setEditText(text);
    }
}

void SelectIndex(QComboBox* combo, int index) {
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

}  // namespace

std::optional<long long> ParseInteger(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.size() > 18) {
        return std::nullopt;
    }
    bool ok = false;
    const long long value = trimmed.toLongLong(&ok, 10);
    if (!ok) {
        return std::nullopt;
    }
    return value;
}

void FieldExchange::Int(QLineEdit* edit, int& member, std::optional<std::pair<int, int>> range) {
    bindings_.push_back({edit,
                         [edit, &member, range]() -> std::optional<QString> {
                             const auto value = ParseInteger(edit->text());
                             if (!value || *value < std::numeric_limits<int>::min() ||
                                 *value > std::numeric_limits<int>::max()) {
                                 return Translate("FieldExchange", kEnterInteger);
                             }
                             if (range && (*value < range->first || *value > range->second)) {
                                 return BetweenText(range->first, range->second);
                             }
                             member = static_cast<int>(*value);
                             return std::nullopt;
                         },
                         [edit, &member] { edit->setText(QString::number(member)); }});
}

void FieldExchange::Unsigned(QLineEdit* edit, unsigned& member) {
    bindings_.push_back({edit,
                         [edit, &member]() -> std::optional<QString> {
                             const auto value = ParseInteger(edit->text());
                             if (!value || *value < 0 ||
                                 *value > std::numeric_limits<unsigned>::max()) {
                                 return Translate("FieldExchange", kEnterPositiveInteger);
                             }
                             member = static_cast<unsigned>(*value);
                             return std::nullopt;
                         },
                         [edit, &member] { edit->setText(QString::number(member)); }});
}

void FieldExchange::Byte(QLineEdit* edit, std::uint8_t& member, int min, int max) {
    bindings_.push_back({edit,
                         [edit, &member, min, max]() -> std::optional<QString> {
                             const auto value = ParseInteger(edit->text());
                             if (!value || *value < min || *value > max) {
                                 return BetweenText(min, max);
                             }
                             member = static_cast<std::uint8_t>(*value);
                             return std::nullopt;
                         },
                         [edit, &member] { edit->setText(QString::number(member)); }});
}

void FieldExchange::Text(QLineEdit* edit, std::string& member) {
    bindings_.push_back({edit,
                         [edit, &member]() -> std::optional<QString> {
                             member = edit->text().toStdString();
                             return std::nullopt;
                         },
                         [edit, &member] { edit->setText(QString::fromStdString(member)); }});
}

void FieldExchange::ComboText(QComboBox* combo, std::string& member) {
    bindings_.push_back(
        {combo,
         [combo, &member]() -> std::optional<QString> {
             member = combo->currentText().toStdString();
             return std::nullopt;
         },
         [combo, &member] { SelectByPrefix(combo, QString::fromStdString(member)); }});
}

void FieldExchange::ComboIndex(QComboBox* combo, int& member) {
    bindings_.push_back({combo,
                         [combo, &member]() -> std::optional<QString> {
                             member = combo->currentIndex();
                             return std::nullopt;
                         },
                         [combo, &member] { SelectIndex(combo, member); }});
}

void FieldExchange::ComboIndex(QComboBox* combo, std::uint8_t& member) {
    bindings_.push_back({combo,
                         [combo, &member]() -> std::optional<QString> {
                             // An 8-bit member keeps the low byte of "none" (-1), as a
                             // byte-sized selection does.
                             member = static_cast<std::uint8_t>(combo->currentIndex() & 0xFF);
                             return std::nullopt;
                         },
                         [combo, &member] { SelectIndex(combo, member); }});
}

void FieldExchange::Check(QAbstractButton* box, int& member) {
    bindings_.push_back({box,
                         [box, &member]() -> std::optional<QString> {
                             member = box->isChecked() ? 1 : 0;
                             return std::nullopt;
                         },
                         [box, &member] { box->setChecked(member != 0); }});
}

void FieldExchange::Radio(std::initializer_list<QAbstractButton*> buttons, int& member) {
    std::vector<QAbstractButton*> group(buttons);
    bindings_.push_back({group.front(),
                         [group, &member]() -> std::optional<QString> {
                             member = -1;
                             for (std::size_t i = 0; i < group.size(); ++i) {
                                 if (group[i]->isChecked()) {
                                     member = static_cast<int>(i);
                                     break;
                                 }
                             }
                             return std::nullopt;
                         },
                         [group, &member] {
                             for (std::size_t i = 0; i < group.size(); ++i) {
                                 const bool on = static_cast<int>(i) == member;
                                 // An exclusive group cannot be unchecked button by button.
                                 const bool exclusive = group[i]->autoExclusive();
                                 group[i]->setAutoExclusive(false);
                                 group[i]->setChecked(on);
                                 group[i]->setAutoExclusive(exclusive);
                             }
                         }});
}

bool FieldExchange::PullBinding(const Binding& binding) const {
    if (auto failure = binding.pull()) {
        dialogs_.ShowMessage(owner_, Message{failure->toStdString(), "", MessageIcon::Exclamation});
        binding.control->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(binding.control)) {
            edit->selectAll();
        }
        return false;
    }
    return true;
}

bool FieldExchange::Pull() const {
    for (const Binding& binding : bindings_) {
        if (!PullBinding(binding)) {
            return false;
        }
    }
    return true;
}

bool FieldExchange::Pull(std::initializer_list<const QWidget*> controls) const {
    for (const Binding& binding : bindings_) {
        if (std::find(controls.begin(), controls.end(), binding.control) != controls.end() &&
            !PullBinding(binding)) {
            return false;
        }
    }
    return true;
}

void FieldExchange::Push() const {
    for (const Binding& binding : bindings_) {
        binding.push();
    }
}

void FieldExchange::Push(std::initializer_list<const QWidget*> controls) const {
    for (const Binding& binding : bindings_) {
        if (std::find(controls.begin(), controls.end(), binding.control) != controls.end()) {
            binding.push();
        }
    }
}

}  // namespace pictor::gui
