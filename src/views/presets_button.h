// The "Presets" button of the settings bar: a menu of the built-in and the
// user's presets (the one the settings match checked), and saving, renaming
// and deleting the user's. Every change goes through the controller.
#pragma once

#include <QString>
#include <QToolButton>
#include <functional>
#include <optional>

namespace quorvane::core {
class ConversionViewModel;
}

namespace quorvane::gui {

class PresetsButton : public QToolButton {
  Q_OBJECT

 public:
  // What the button asks the user; dialogs unless replaced (by tests).
  struct Prompts {
    // A name, starting from `text`; nothing when cancelled.
    std::function<std::optional<QString>(const QString& title, const QString& label,
                                         const QString& text)>
        askName;
    // Whether to go on; `action` is the affirming button's text.
    std::function<bool(const QString& title, const QString& question, const QString& action)>
        confirm;
    std::function<void(const QString& title, const QString& text)> tell;
  };

  explicit PresetsButton(core::ConversionViewModel& controller, QWidget* parent = nullptr);

  void setPrompts(Prompts prompts) { m_prompts = std::move(prompts); }
  // Fills the menu from the presets saved now; done each time it opens.
  void rebuildMenu();
  // The menu's commands.
  void saveCurrentSettings();
  void renamePreset(const QString& name);
  void deletePreset(const QString& name);

 private:
  Prompts dialogPrompts();
  // Asks until the name can be used or the user gives up.
  std::optional<QString> askUsableName(const QString& title, const QString& text);
  void refresh();

  core::ConversionViewModel& m_controller;
  Prompts m_prompts;
};

}  // namespace quorvane::gui
