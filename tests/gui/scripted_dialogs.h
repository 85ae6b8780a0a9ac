#pragma once

#include <QDialog>
#include <deque>
#include <functional>
#include <map>
#include <vector>

#include "gui/dialog_service.h"

namespace pictor::gui::testing {

/// A dialog service with scripted answers that records what was shown. Messages
/// are answered at once; file, save and colour dialogs take the next scripted
/// answer (cancel when none is left); questions the next scripted answer (their
/// default button when none is left); modal dialogs are handed to the handler registered
/// under their object name (rejected when none is).
class ScriptedDialogs final : public DialogService {
  public:
    void ShowMessage(QWidget* /*parent*/, const Message& message) override {
        messages.push_back(message);
        captions.push_back(CaptionOf(message));
        if (onMessage) {
            onMessage(message);
        }
    }

    QStringList GetOpenFileNames(QWidget* /*parent*/, const FileRequest& request) override {
        fileRequests.push_back(request);
        if (fileAnswers.empty()) {
            return {};
        }
        QStringList answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }

    QString GetOpenFileName(QWidget* parent, const FileRequest& request) override {
        const QStringList answer = GetOpenFileNames(parent, request);
        return answer.isEmpty() ? QString() : answer.front();
    }

    std::optional<QColor> ChooseColor(QWidget* /*parent*/) override {
        if (colorAnswers.empty()) {
            return std::nullopt;
        }
        auto answer = colorAnswers.front();
        colorAnswers.pop_front();
        return answer;
    }

    bool StartDetached(const QString& program, const QStringList& arguments) override {
        started.emplace_back(program, arguments);
        return LaunchDetached(program, arguments);
    }

    int RunModal(QDialog& dialog) override {
        modalRuns.push_back(dialog.objectName());
        const auto handler = modalHandlers.find(dialog.objectName());
        if (handler == modalHandlers.end()) {
            return QDialog::Rejected;
        }
        return handler->second(dialog);
    }

    QMessageBox::StandardButton Ask(QWidget* /*parent*/, const Message& message,
                                    QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton) override {
        questions.push_back(message);
        questionDefaults.push_back(defaultButton);
        questionButtons.push_back(buttons);
        if (questionAnswers.empty()) {
            return defaultButton;
        }
        const auto answer = questionAnswers.front();
        questionAnswers.pop_front();
        return answer;
    }

    QString GetSaveFileName(QWidget* /*parent*/, const FileRequest& request) override {
        saveRequests.push_back(request);
        if (saveAnswers.empty()) {
            return {};
        }
        QString answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }

    bool OpenLocation(const QString& path) override {
        opened.push_back(path);
        return true;
    }

    /// Texts of the recorded messages, in order.
    [[nodiscard]] std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& message : messages) {
            texts.push_back(message.text);
        }
        return texts;
    }

    std::vector<Message> messages;
    std::vector<QString> captions;
    std::function<void(const Message&)> onMessage;
    std::deque<QStringList> fileAnswers;
    std::vector<FileRequest> fileRequests;
    std::deque<std::optional<QColor>> colorAnswers;
    std::vector<std::pair<QString, QStringList>> started;
    std::map<QString, std::function<int(QDialog&)>> modalHandlers;
    std::vector<QString> modalRuns;
    /// Questions asked, their default buttons, and the scripted answers (the
    /// default answers when none is left).
    std::vector<Message> questions;
    std::vector<QMessageBox::StandardButton> questionDefaults;
    std::deque<QMessageBox::StandardButton> questionAnswers;
    std::vector<QMessageBox::StandardButtons> questionButtons;
    std::deque<QString> saveAnswers;
    std::vector<QString> opened;
    std::vector<FileRequest> saveRequests;
};

}  // namespace pictor::gui::testing
