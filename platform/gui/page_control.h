#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/component.h"

namespace plotvik {

class TCustomPanel;
class TForm;
class TTabSheet;

// Tabbed pages filling the client area of their form: one row of tabs at the top (with scroll
// arrows when they do not fit), one page shown at a time. A click on a tab, Ctrl+Tab and
// Ctrl+Shift+Tab switch pages, the keys wrapping around from the last page to the first.
class TPageControl : public TComponent {
 public:
  TPageControl(std::string name, TForm& form);
  ~TPageControl() override;

  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet& Pages(int index) const;

  int ActivePageIndex() const;
  void SetActivePageIndex(int index);
  TTabSheet* ActivePage() const;
  void SetActivePage(TTabSheet& page);

  // The control's size that gives every page a client area of the given size.
  void SizeForPageClient(int pageWidth, int pageHeight, int& width, int& height) const;
  int Width() const;
  int Height() const;

  class Widget;
  Widget& NativeWidget() const { return *widget_; }

 private:
  friend class TTabSheet;
  void AddPage(TTabSheet& page);
  void RemovePage(TTabSheet& page);

  Widget* widget_;  // owned by the form's window
  std::vector<TTabSheet*> pages_;
};

// One page of a TPageControl. What the page shows is its client, a widget that fills it.
class TTabSheet : public TComponent {
 public:
  TTabSheet(std::string name, TPageControl& pageControl, const std::string& caption,
            int imageIndex);
  ~TTabSheet() override;

  TPageControl& PageControl() const { return pageControl_; }
  int PageIndex() const;
  std::string Caption() const;
  // Kept, but without an image list attached it changes nothing on screen.
  int ImageIndex() const { return imageIndex_; }

  int ClientWidth() const;
  int ClientHeight() const;

  // Makes a widget showing `panel` the page's client: it fills the page and follows its size,
  // handing each new size on to the panel. The page owns that widget; a previous client goes.
  void ShowPanel(TCustomPanel& panel);

  class Page;
  Page& NativePage() const { return *page_; }

 private:
  TPageControl& pageControl_;
  Page* page_;  // owned by the page control's widget
  int imageIndex_;
};

}  // namespace plotvik
