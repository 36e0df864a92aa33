// The standard controls: labels, push buttons, check boxes, radio buttons, edits, combo boxes
// and group boxes. The windowed ones superclass the system classes under the framework class
// name ("TButton" over "BUTTON", "TEdit" over "EDIT", "TComboBox" over "COMBOBOX", "TGroupBox"
// over "BUTTON" with BS_GROUPBOX).
#pragma once

#include <string>

#include "framework/Controls.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };

class TCustomLabel : public TGraphicControl {
  DASKEL_CLASS(TCustomLabel, TGraphicControl)
 public:
  explicit TCustomLabel(TComponent* owner);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout v);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool v);
  void SetText(const std::string& s) override;
  void Loaded() override;

 protected:
  void Paint() override;
  void FontChanged(TObject* sender) override;
  UINT DrawFlags() const;
  void AdjustBounds();

 private:
  TAlignment alignment_ = taLeftJustify;
  bool autoSize_ = true, transparent_ = false, wordWrap_ = false, showAccelChar_ = true;
  TTextLayout layout_ = tlTop;
};

class TLabel : public TCustomLabel {
  DASKEL_CLASS(TLabel, TCustomLabel)
 public:
  explicit TLabel(TComponent* owner) : TCustomLabel(owner) {}
};

class TButtonControl : public TWinControl {
  DASKEL_CLASS(TButtonControl, TWinControl)
 public:
  explicit TButtonControl(TComponent* owner);

 protected:
  void CreateParams(TCreateParams& p) override;
  void WndProc(TMessage& m) override;
};

class TButton : public TButtonControl {
  DASKEL_CLASS(TButton, TButtonControl)
 public:
  explicit TButton(TComponent* owner);
  ~TButton() override;
  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v);
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult v) { modalResult_ = v; }
  void Click() override;
  void SetParent(TWinControl* parent) override;

 protected:
  void CreateParams(TCreateParams& p) override;

 private:
  void Register();
  bool default_ = false, cancel_ = false;
  TModalResult modalResult_ = mrNone;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCustomCheckBox : public TButtonControl {
  DASKEL_CLASS(TCustomCheckBox, TButtonControl)
 public:
  explicit TCustomCheckBox(TComponent* owner);
  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState s);
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool v) { allowGrayed_ = v; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& m) override;
  virtual void Toggle();

 private:
  TCheckBoxState state_ = cbUnchecked;
  bool allowGrayed_ = false;
  TAlignment alignment_ = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
  DASKEL_CLASS(TCheckBox, TCustomCheckBox)
 public:
  explicit TCheckBox(TComponent* owner) : TCustomCheckBox(owner) {}
};

class TRadioButton : public TButtonControl {
  DASKEL_CLASS(TRadioButton, TButtonControl)
 public:
  explicit TRadioButton(TComponent* owner);
  bool Checked() const { return checked_; }
  void SetChecked(bool v);

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& m) override;

 private:
  bool checked_ = false;
};

class TCustomEdit : public TWinControl {
  DASKEL_CLASS(TCustomEdit, TWinControl)
 public:
  explicit TCustomEdit(TComponent* owner);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int v);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool v) { autoSelect_ = v; }
  char PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char c);
  int SelStart() const;
  void SetSelStart(int v);
  int SelLength() const;
  void SetSelLength(int v);
  void SelectAll();
  void Clear() { SetText(""); }
  void SetText(const std::string& s) override;
  void Loaded() override;
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& m) override;
  // The text changed (by the user or the program); fires OnChange once per real change.
  virtual void Change();

 private:
  int maxLength_ = 0;
  bool readOnly_ = false, autoSelect_ = true;
  char passwordChar_ = 0;
  int selStart_ = 0, selLength_ = 0;
  std::string lastText_;
};

class TEdit : public TCustomEdit {
  DASKEL_CLASS(TEdit, TCustomEdit)
 public:
  explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
// Right-to-left reading and the drop-down button (scroll bar) on the left.
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

class TCustomComboBox;

// The items of a combo box: kept by the control and mirrored into its window while it exists.
class TComboBoxStrings : public TStrings {
  DASKEL_CLASS(TComboBoxStrings, TStrings)
 public:
  explicit TComboBoxStrings(TCustomComboBox* combo) : combo_(combo) {}
  int Count() const override { return items_.Count(); }
  const std::string& Get(int index) const override { return items_.Get(index); }
  void Put(int index, const std::string& s) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;

 private:
  TCustomComboBox* combo_;
  TStringList items_;
};

class TCustomComboBox : public TWinControl {
  DASKEL_CLASS(TCustomComboBox, TWinControl)
 public:
  explicit TCustomComboBox(TComponent* owner);
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle v);
  TBiDiMode BiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode v);
  TStrings* Items() { return &items_; }
  int ItemIndex() const;
  void SetItemIndex(int v);
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int v) { dropDownCount_ = v < 1 ? 1 : v; }
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int v) { itemHeight_ = v; }
  bool DroppedDown() const;
  void SetDroppedDown(bool v);
  std::string GetText() const override;
  void SetBounds(int left, int top, int width, int height) override;

  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& m) override;
  virtual void Change() { OnChange(this); }

 private:
  friend class TComboBoxStrings;
  int DroppedHeight() const;
  // The style and the reading order are fixed when the window is made.
  TComboBoxStyle style_ = csDropDown;
  TBiDiMode biDiMode_ = bdLeftToRight;
  TComboBoxStrings items_;
  int itemIndex_ = -1;
  int dropDownCount_ = 8;
  int itemHeight_ = 16;
};

class TComboBox : public TCustomComboBox {
  DASKEL_CLASS(TComboBox, TCustomComboBox)
 public:
  explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}
};

class TCustomGroupBox : public TWinControl {
  DASKEL_CLASS(TCustomGroupBox, TWinControl)
 public:
  explicit TCustomGroupBox(TComponent* owner);

 protected:
  void CreateParams(TCreateParams& p) override;
  void WndProc(TMessage& m) override;
};

class TGroupBox : public TCustomGroupBox {
  DASKEL_CLASS(TGroupBox, TCustomGroupBox)
 public:
  explicit TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {}
};

extern const std::vector<std::string> kAlignmentNames;

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomMemo;

// The lines of a memo: its text split at line breaks, read from the window while it exists.
class TMemoStrings : public TStrings {
  DASKEL_CLASS(TMemoStrings, TStrings)
 public:
  explicit TMemoStrings(TCustomMemo* memo) : memo_(memo) {}
  int Count() const override;
  const std::string& Get(int index) const override;
  void Put(int index, const std::string& s) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;

 private:
  void Sync() const;
  void Store();
  TCustomMemo* memo_;
  mutable TStringList lines_;
  mutable std::string seen_;
  mutable bool synced_ = false;
};

class TCustomMemo : public TCustomEdit {
  DASKEL_CLASS(TCustomMemo, TCustomEdit)
 public:
  explicit TCustomMemo(TComponent* owner);
  TStrings* Lines() { return &lines_; }
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle v) { scrollBars_ = v; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v) { wordWrap_ = v; }

 protected:
  void CreateParams(TCreateParams& p) override;

 private:
  TMemoStrings lines_;
  TScrollStyle scrollBars_ = ssNone;
  bool wordWrap_ = true;
};

class TMemo : public TCustomMemo {
  DASKEL_CLASS(TMemo, TCustomMemo)
 public:
  explicit TMemo(TComponent* owner) : TCustomMemo(owner) {}
};

class TCustomListBox;

class TListBoxStrings : public TStrings {
  DASKEL_CLASS(TListBoxStrings, TStrings)
 public:
  explicit TListBoxStrings(TCustomListBox* list) : list_(list) {}
  int Count() const override { return items_.Count(); }
  const std::string& Get(int index) const override { return items_.Get(index); }
  void Put(int index, const std::string& s) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;

 private:
  TCustomListBox* list_;
  TStringList items_;
};

// A list box ("TListBox" over "LISTBOX"); OnClick when the user picks an item.
class TCustomListBox : public TWinControl {
  DASKEL_CLASS(TCustomListBox, TWinControl)
 public:
  explicit TCustomListBox(TComponent* owner);
  TStrings* Items() { return &items_; }
  int ItemIndex() const;
  void SetItemIndex(int v);

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& m) override;

 private:
  friend class TListBoxStrings;
  TListBoxStrings items_;
  int itemIndex_ = -1;
};

class TListBox : public TCustomListBox {
  DASKEL_CLASS(TListBox, TCustomListBox)
 public:
  explicit TListBox(TComponent* owner) : TCustomListBox(owner) {}
};
