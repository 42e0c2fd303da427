// The answer line: a borderless one-line text control over the game screen, hidden until a
// question is put. Every character it receives goes to the KeyLatch; Enter goes only there.
#pragma once

#include <string>

#include <wx/textctrl.h>

#include "game/desktop_ports.h"

namespace verselane {

class KeyLatch;

// The character a key event carries, as the game reads keys: Ctrl+letters are 1 to 26, and both
// Enter keys are kEnterKey (13), the one key that answers.
int KeyCharacter(const wxKeyEvent& event);

class AnswerBox : public AnswerBoxControlPort {
 public:
  explicit AnswerBox(KeyLatch& keys) : keys_(keys) {}
  AnswerBox(const AnswerBox&) = delete;
  AnswerBox& operator=(const AnswerBox&) = delete;
  ~AnswerBox() override;

  // Creates the control, hidden, as a child of `parent`, at the place given for the screen at
  // 100 % (the zoom is applied); returns the existing one when called again. Null (after an
  // error box) when it cannot be made.
  wxTextCtrl* CreateControl(wxWindow* parent, int x, int y, int width, int height);
  // The screen is shown `zoom` times its size: the line moves and grows with it, its font too.
  void SetZoom(double zoom);
  // Routes the control's keys to the KeyLatch; false when there is no control or it is already
  // done.
  bool RouteKeys();
  // The face is the Japanese default face; the size is in pixels at 100 %, so that the text fits
  // the 28-pixel line (a GTK font of 20 points is 26.7 pixels high and is clipped there).
  bool SetTextFont(int pixelHeight, const wxString& face);
  bool SetTextColour(int red, int green, int blue);
  void SetBackgroundColour(int red, int green, int blue);
  void DestroyControl();

  std::string ReadText() override;
  void Clear() override;
  void Show() override;
  void Hide() override;
  bool IsVisible() const override;
  void Focus() override;
  void SetHint(const std::string& text) override;
  void SetRomajiInput(bool on) override;

  wxTextCtrl* control() const { return control_; }

 private:
  void OnKeyDown(wxKeyEvent& event);
  void OnChar(wxKeyEvent& event);
  void OnText(wxCommandEvent& event);
  void OnDestroy(wxWindowDestroyEvent& event);
  int Zoomed(int length) const;
  wxRect ZoomedPlace() const;
  bool ApplyFont();
  void WarmUpGlyphs();
  // The hint goes as soon as the player types.
  void RemoveHint();

  KeyLatch& keys_;
  wxTextCtrl* control_ = nullptr;
  // The place and font at 100 %, and the zoom they are shown at.
  wxRect place_;
  int fontPixels_ = 0;
  wxString fontFace_;
  double zoom_ = 1.0;
  bool keysRouted_ = false;
  // Set while a character the control received as a key is being inserted; text that arrives
  // otherwise was committed by the input method.
  bool keyInsertPending_ = false;
  wxString lastValue_;
  bool romajiOn_ = false;
  bool hintShown_ = false;
  wxColour textColour_;
};

}  // namespace verselane
