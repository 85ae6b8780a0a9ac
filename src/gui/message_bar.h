#pragma once

#include <QFrame>
#include <QString>
#include <functional>
#include <vector>

class QHBoxLayout;
class QLabel;
class QToolButton;

namespace pictor::gui {

/// A strip above the work area that tells the outcome of a task without
/// stopping the user: a coloured frame with the text, optional action buttons
/// ("Open folder", "Show memory map") and a close button. One message at a
/// time; a new one replaces the last. Hidden until something is posted and
/// after the close button. Any part of the window may post to it.
class MessageBar final : public QFrame {
    Q_OBJECT
  public:
    enum class Kind { Positive, Information, Warning, Error };

    /// A button beside the text; `name` is its object name.
    struct Action {
        QString text;
        QString name;
        std::function<void()> run;
    };

    explicit MessageBar(QWidget* parent = nullptr);

    void Post(Kind kind, const QString& text, std::vector<Action> actions = {});
    void Dismiss();

    [[nodiscard]] Kind CurrentKind() const { return kind_; }
    /// The text shown; empty when the bar is dismissed.
    [[nodiscard]] QString Text() const;

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void ShowCloseTip();

    Kind kind_ = Kind::Information;
    QLabel* text_;
    QHBoxLayout* actions_;
    QToolButton* close_;
};

}  // namespace pictor::gui
