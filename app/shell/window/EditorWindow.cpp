#include "app/shell/window/EditorWindow.h"

#include <cmath>
#include <utility>

#include "app/core/KR7Control.h"
#include "app/shell/FileChoice.h"
#include "app/shell/MenuCommands.h"

namespace kr7::shell {

EditorWindow::EditorWindow(KR7Control& control, double scale, CommandHandler onCommand,
                           CloseHandler onClose)
    : mControl(control),
      mPages(control.ForWindow(), static_cast<float>(scale)),
      mGraphics(&mPages.Graphics()),
      mOnCommand(std::move(onCommand)),
      mOnClose(std::move(onClose)) {
  mGraphics->SetHost(this);
}

igraphics::EMsgBoxResult EditorWindow::ShowMessage(std::string_view text, std::string_view caption,
                                                   igraphics::EMsgBoxType buttons) {
  const bool ok = ShowMessageBox(mWindow, text, buttons == igraphics::kMB_OKCANCEL, caption);
  return ok ? igraphics::kOK : igraphics::kCancel;
}

igraphics::FileDialogResult EditorWindow::AskForFile(std::string_view initialName,
                                                     std::string_view initialFolder,
                                                     igraphics::EFileAction action,
                                                     std::string_view extension) {
  return AskWithChooser(initialName, initialFolder, action, extension,
                        [this](const FileRequest& request) { return ChooseFile(mWindow, request); });
}

bool EditorWindow::OpenLink(std::string_view address) { return OpenLinkWhenOnline(address); }

void EditorWindow::RunCommand(int commandId) {
  if (commandId == kCmdQuit) Close();
  else if (mOnCommand) mOnCommand(commandId);
}

void EditorWindow::PressAt(float x, float y, const igraphics::IMouseMod& mod) {
  mButtonDown = true;
  mLastX = x;
  mLastY = y;
  mGraphics->OnMouseDown(x, y, mod);
}

void EditorWindow::ReleaseAt(float x, float y, const igraphics::IMouseMod& mod) {
  mButtonDown = false;
  mGraphics->OnMouseUp(x, y, mod);
}

void EditorWindow::MoveTo(float x, float y, const igraphics::IMouseMod& mod) {
  if (mButtonDown) {
    mGraphics->OnMouseDrag(x, y, x - mLastX, y - mLastY, mod);
    mLastX = x;
    mLastY = y;
  } else {
    mGraphics->OnMouseOver(x, y, mod);
  }
}

void EditorWindow::Leave() {
  if (!mButtonDown) mGraphics->OnMouseOut();
}

void EditorWindow::FrameworkTick() {
  mPages.OnFrameworkTimer();
  RequestRedraw();
}

void EditorWindow::RunFirstFrameHandler() {
  if (FirstFrameHandler handler = std::exchange(mOnFirstFrame, nullptr)) handler();
}

void EditorWindow::ReleaseEditor() {
  mOnFirstFrame = nullptr;
  mPages.Close();
  if (mOnClose) mOnClose(mGraphics->GetDrawScale());
  mGraphics->SetHost(nullptr);
}

EditorWindow::PixelArea EditorWindow::PixelsOf(const igraphics::Rect& area, float pixelsPerUnit) {
  return {static_cast<int>(std::floor(area.L * pixelsPerUnit)),
          static_cast<int>(std::floor(area.T * pixelsPerUnit)),
          static_cast<int>(std::ceil(area.R * pixelsPerUnit)),
          static_cast<int>(std::ceil(area.B * pixelsPerUnit))};
}

}  // namespace kr7::shell
