#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QWidget;

namespace pictor::gui {

class DialogService;

/// Standard validation texts of the field exchange (translated where shown).
inline constexpr const char* kEnterInteger =
    QT_TRANSLATE_NOOP("FieldExchange", "Please enter an integer.");
inline constexpr const char* kEnterIntegerBetween =
    QT_TRANSLATE_NOOP("FieldExchange", "Please enter an integer between %1 and %2.");
inline constexpr const char* kEnterPositiveInteger =
    QT_TRANSLATE_NOOP("FieldExchange", "Please enter a positive integer.");

/// Carries a dialog's members to and from its controls. Bindings are registered
/// once, in exchange order; `Push` copies every member into its control, `Pull`
/// copies the controls back with their checks. A failed check shows the standard
/// message, puts the focus into the failing field and stops: the members after it
/// keep their values. The members and controls must outlive the exchange.
class FieldExchange {
  public:
    FieldExchange(DialogService& dialogs, QWidget* owner) : dialogs_(dialogs), owner_(owner) {}

    /// Signed decimal integer, optionally limited to [min, max].
    void Int(QLineEdit* edit, int& member, std::optional<std::pair<int, int>> range = {});
    /// Unsigned decimal integer.
    void Unsigned(QLineEdit* edit, unsigned& member);
    /// Unsigned 8-bit value, limited to [min, max].
    void Byte(QLineEdit* edit, std::uint8_t& member, int min = 0, int max = 255);
    void Text(QLineEdit* edit, std::string& member);
    /// The text of an editable combo box. Pushing selects the first entry that
    /// begins with the text (letter case ignored) or, without one, sets the text.
    void ComboText(QComboBox* combo, std::string& member);
    /// The selected position; -1 when none. Pushing a position outside the list
    /// leaves no entry selected.
    void ComboIndex(QComboBox* combo, int& member);
    void ComboIndex(QComboBox* combo, std::uint8_t& member);
    void Check(QAbstractButton* box, int& member);
    /// The index of the checked button of a radio group; -1 when none.
    void Radio(std::initializer_list<QAbstractButton*> buttons, int& member);

    /// Controls → members. False at the first failed check (message shown).
    bool Pull() const;
    /// Members → controls.
    void Push() const;

    /// The same for the bindings of `controls` only (a radio group by its first
    /// button), in exchange order. A handler exchanges just the fields it uses, so
    /// a field it does not own is neither checked nor overwritten.
    bool Pull(std::initializer_list<const QWidget*> controls) const;
    void Push(std::initializer_list<const QWidget*> controls) const;

  private:
    struct Binding {
        QWidget* control = nullptr;
        std::function<std::optional<QString>()> pull;  // the failure text, if any
        std::function<void()> push;
    };

    bool PullBinding(const Binding& binding) const;

    DialogService& dialogs_;
    QWidget* owner_;
    std::vector<Binding> bindings_;
};

/// Parses a signed decimal integer the way the field exchange does (blanks around
/// it allowed, nothing else). Nothing when the text is not an integer.
std::optional<long long> ParseInteger(const QString& text);

}  // namespace pictor::gui
