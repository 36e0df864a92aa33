// Edit and combo-box skinners: the control paints its content first, then the skinner paints
// over the border (and a combo box's drop-down button), so the text area is never touched.
#pragma once

#include "skin/controls/WinSubClass.h"
#include "skin/paint/SkinPictureCache.h"

class TSkinUpDown;

class TSkinEdit : public TSkinControl {
  DASKEL_CLASS(TSkinEdit, TSkinControl)
 public:
  explicit TSkinEdit(TComponent* owner);
  void AttachControl(TWinControl* control, TSkinData* data, bool recolour, TCanvas* canvas) override;
  bool BeforeDefault(TMessage& m) override;
  void AfterDefault(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;
  void RefreshSkin() override;
  TSkinUpDown* UpDown() const { return FUpDown; }

 private:
  void PrintBorder(HDC dc);
  void FindSpinButton();
  // The window's frame around the client area, thinnest side and thickest side.
  void FrameThickness(int& thinnest, int& thickest) const;
  void Notification(TComponent* c, TOperation op) override;
  TSkinUpDown* FUpDown = nullptr;  // owned by the form skinner, like every skinner
  bool FEdgeShown = false;         // the skin's edge was drawn since attach or the last new skin
};

class TSkinComBox : public TSkinControl {
  DASKEL_CLASS(TSkinComBox, TSkinControl)
 public:
  explicit TSkinComBox(TComponent* owner);
  void AttachControl(TWinControl* control, TSkinData* data, bool recolour, TCanvas* canvas) override;
  bool BeforeDefault(TMessage& m) override;
  void AfterDefault(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;
  void RefreshSkin() override;
  void Detach() override;
  std::size_t PictureBytes() const override { return TSkinControl::PictureBytes() + FPicture.Bytes(); }

 private:
  void DrawFlat(HDC dc, const RECT& r);
  // With the button on the left the system still lays the combo out with its own button on the
  // right: the text field is moved, or drawn, right of the skin's button.
  bool ButtonOnTheLeft() const;
  void KeepEditRightOf(int buttonWidth);
  void DrawListText(HDC dc, const RECT& area);
  // The brush the parent gives for the text field (or its edit `part`), as the control paints it.
  HBRUSH FieldBrush(HDC dc, HWND part) const;
  // The combo's edit, and where it sits in the combo's client area.
  HWND EditPart(RECT* at) const;
  // `area` (client coordinates; r places the client in dc) around the edit in the edit's ground.
  void DrawEditGround(HDC dc, const RECT& r, RECT area);
  void DrawSimpleFrame(HDC dc, const RECT& r);
  // A combo box (framework or system), not another control served as one.
  bool IsComboBoxWindow() const;
  // The frame ring, the button and its arrow of one state, as the screen shows them.
  void Compose(TBitmap& picture, SIZE size, const TDataSkinObject& edge, const TDataSkinBorder& button,
               const TDataSkinObject* extra, int state, bool left, const RECT& face, const RECT& glyphArea);
  TPictureCache FPicture;
  LONG_PTR FStyle = 0;
  LONG_PTR FExStyle = 0;
};
