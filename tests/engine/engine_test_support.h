#pragma once
// Helpers of the engine tests (beside the shared temporary directory and recording host):
// template files and a viewer with form controls.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "engine/custom_rep_viewer.h"
#include "platform/core/host_services.h"
#include "tests/common/recording_host.h"
#include "tests/common/temp_dir.h"

namespace quillon::testing {

inline void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

// A viewer that keeps every property it is given and records the operations called on it
// (setters by property name, operations by their own), in order.
class FakeViewer : public TCustomRepViewer {
  public:
    using TCustomRepViewer::TCustomRepViewer;

    bool GetVisible() const override { return visible; }
    void SetVisible(bool value) override { Set("Visible", visible, value); }
    bool GetViewerVisible() const override { return viewer_visible; }
    void SetViewerVisible(bool value) override { Set("ViewerVisible", viewer_visible, value); }
    std::string GetTitle() const override { return title; }
    void SetTitle(const std::string& value) override { Set("Title", title, value); }
    bool GetViewImages() const override { return view_images; }
    void SetViewImages(bool value) override { Set("ViewImages", view_images, value); }
    bool GetPositionBackground() const override { return position_background; }
    void SetPositionBackground(bool value) override {
        Set("PositionBackground", position_background, value);
    }
    THTMLBorderStyle GetBorderStyle() const override { return border_style; }
    void SetBorderStyle(THTMLBorderStyle value) override {
        Set("BorderStyle", border_style, value);
    }
    TTitlePrintStyle GetTitlePrintStyle() const override { return title_print_style; }
    void SetTitlePrintStyle(TTitlePrintStyle value) override {
        Set("TitlePrintStyle", title_print_style, value);
    }
    Color GetDefBackground() const override { return def_background; }
    void SetDefBackground(Color value) override { Set("DefBackground", def_background, value); }
    TFontStyles GetHotSpotStyle() const override { return hot_spot_style; }
    void SetHotSpotStyle(TFontStyles value) override { Set("HotSpotStyle", hot_spot_style, value); }
    Color GetDefFontColor() const override { return def_font_color; }
    void SetDefFontColor(Color value) override { Set("DefFontColor", def_font_color, value); }
    std::string GetDefFontName() const override { return def_font_name; }
    void SetDefFontName(const std::string& value) override {
        Set("DefFontName", def_font_name, value);
    }
    int GetDefFontSize() const override { return def_font_size; }
    void SetDefFontSize(int value) override { Set("DefFontSize", def_font_size, value); }
    Color GetDefHotSpotColor() const override { return def_hot_spot_color; }
    void SetDefHotSpotColor(Color value) override {
        Set("DefHotSpotColor", def_hot_spot_color, value);
    }
    std::string GetDefPreFontName() const override { return def_pre_font_name; }
    void SetDefPreFontName(const std::string& value) override {
        Set("DefPreFontName", def_pre_font_name, value);
    }
    int GetImageCacheCount() const override { return image_cache_count; }
    void SetImageCacheCount(int value) override {
        Set("ImageCacheCount", image_cache_count, value);
    }
    TComponent* GetPopupMenu() const override { return popup_menu; }
    void SetPopupMenu(TComponent* value) override { Set("PopupMenu", popup_menu, value); }
    TComponent* GetMainMenu() const override { return main_menu; }
    void SetMainMenu(TComponent* value) override { Set("MainMenu", main_menu, value); }
    void SetViewerCaption(const std::string& value) override {
        Set("ViewerCaption", caption, value);
    }
    std::string GetViewerCaption() const override { return caption; }
    void SetViewerWidth(int value) override { Set("ViewerWidth", width, value); }
    int GetViewerWidth() const override { return width; }
    void SetViewerHeight(int value) override { Set("ViewerHeight", height, value); }
    int GetViewerHeight() const override { return height; }
    double GetPrintMarginLeft() const override { return margin_left; }
    void SetPrintMarginLeft(double value) override { Set("PrintMarginLeft", margin_left, value); }
    double GetPrintMarginRight() const override { return margin_right; }
    void SetPrintMarginRight(double value) override {
        Set("PrintMarginRight", margin_right, value);
    }
    double GetPrintMarginTop() const override { return margin_top; }
    void SetPrintMarginTop(double value) override { Set("PrintMarginTop", margin_top, value); }
    double GetPrintMarginBottom() const override { return margin_bottom; }
    void SetPrintMarginBottom(double value) override {
        Set("PrintMarginBottom", margin_bottom, value);
    }
    bool GetShowMargins() const override { return show_margins; }
    void SetShowMargins(bool value) override { Set("ShowMargins", show_margins, value); }
    bool GetViewerMaximize() const override { return maximize; }
    void SetViewerMaximize(bool value) override { Set("ViewerMaximize", maximize, value); }
    bool GetDefaultMenuON() const override { return default_menu; }
    void SetDefaultMenuON(bool value) override { Set("DefaultMenuON", default_menu, value); }
    TViewerBtnSet GetVisibleButtons() const override { return buttons; }
    void SetVisibleButtons(TViewerBtnSet value) override { Set("VisibleButtons", buttons, value); }
    std::uint8_t GetCharset() const override { return charset; }
    void SetCharset(std::uint8_t value) override { Set("Charset", charset, value); }
    TComponent* GetViewerParent() const override { return parent; }
    void SetViewerParent(TComponent* value) override { Set("ViewerParent", parent, value); }
    int GetPosition() const override { return position; }
    void SetPosition(int value) override { Set("Position", position, value); }
    std::vector<std::string> GetHistory() const override { return {}; }
    int GetHistoryIndex() const override { return -1; }
    void SetHistoryIndex(int) override {}
    std::vector<TFormControlInfo> GetFormControlList() const override { return controls; }
    std::vector<std::string> GetNameList() const override { return {}; }

    THotSpotClickEvent GetHotSpot() const override { return hot_spot; }
    void SetHotSpot(THotSpotClickEvent value) override { Set("HotSpot", hot_spot, value); }
    THotSpotEvent GetHotSpotDescr() const override { return hot_spot_descr; }
    void SetHotSpotDescr(THotSpotEvent value) override {
        Set("HotSpotDescr", hot_spot_descr, value);
    }
    TGetImageEvent GetImageRequest() const override { return image_request; }
    void SetImageRequest(TGetImageEvent value) override {
        Set("ImageRequest", image_request, value);
    }
    TGetBitmapEvent GetBitmapRequest() const override { return bitmap_request; }
    void SetBitmapRequest(TGetBitmapEvent value) override {
        Set("BitmapRequest", bitmap_request, value);
    }
    TPagePrinted GetPrintHeader() const override { return print_header; }
    void SetPrintHeader(TPagePrinted value) override { Set("PrintHeader", print_header, value); }
    TPagePrinted GetPrintFooter() const override { return print_footer; }
    void SetPrintFooter(TPagePrinted value) override { Set("PrintFooter", print_footer, value); }
    TFormSubmitEvent GetFormSubmit() const override { return form_submit; }
    void SetFormSubmit(TFormSubmitEvent value) override { Set("FormSubmit", form_submit, value); }

    void PrintTitle(TComponent&, Canvas&, int, int, int, bool&) override {
        calls.push_back("PrintTitle");
    }
    void Show(TQuillon&, bool modal) override { calls.push_back(modal ? "ShowModal" : "Show"); }
    void LoadFromFile(const std::string& file) override {
        calls.push_back("LoadFromFile " + file);
        if (!load_error.empty()) throw std::runtime_error(load_error);
        current_file = file;
    }
    int NumPrinterPages() override { return 7; }
    // Prints as a control would: the header and footer handlers see one page.
    void Print(int from, int to) override {
        calls.push_back("Print " + std::to_string(from) + "-" + std::to_string(to));
        printed_with_header = static_cast<bool>(print_header);
        printed_with_footer = static_cast<bool>(print_footer);
        if (!print_error.empty()) throw std::runtime_error(print_error);
    }
    void CopyToClipboard() override { calls.push_back("CopyToClipboard"); }
    void Clear() override {
        calls.push_back("Clear");
        current_file.clear();
    }
    void CloseWindow() override { calls.push_back("CloseWindow"); }
    bool SetPageMargins() override {
        calls.push_back("SetPageMargins");
        return true;
    }
    std::string CurrentFile() const override { return current_file; }
    bool PositionTo(const std::string&) override { return true; }
    bool PositionToPage(int page) override { return page == 1; }
    int GetLastPageNumber() override { return 1; }
    bool Find(const std::string& text, bool match_case) override {
        calls.push_back("Find " + text + (match_case ? " case" : ""));
        return true;
    }

    // The recorded setter calls only, in order.
    std::vector<std::string> SetterCalls() const {
        std::vector<std::string> result;
        for (const std::string& c : calls) {
            if (c.rfind("Set ", 0) == 0) result.push_back(c.substr(4));
        }
        return result;
    }

    std::vector<std::string> calls;
    std::string load_error;   // LoadFromFile throws this when not empty
    std::string print_error;  // Print throws this when not empty
    bool printed_with_header = false;
    bool printed_with_footer = false;

    bool visible = false;
    bool viewer_visible = true;
    std::string title;
    bool view_images = false;
    bool position_background = false;
    THTMLBorderStyle border_style = htNone;
    TTitlePrintStyle title_print_style = psNone;
    Color def_background = 0;
    TFontStyles hot_spot_style = 0;
    Color def_font_color = 0;
    std::string def_font_name;
    int def_font_size = 0;
    Color def_hot_spot_color = 0;
    std::string def_pre_font_name;
    int image_cache_count = 5;
    TComponent* popup_menu = nullptr;
    TComponent* main_menu = nullptr;
    std::string caption;
    int width = 0;
    int height = 0;
    double margin_left = 0, margin_right = 0, margin_top = 0, margin_bottom = 0;
    bool show_margins = false;
    bool maximize = false;
    bool default_menu = false;
    TViewerBtnSet buttons = 0;
    std::uint8_t charset = 0;
    TComponent* parent = nullptr;
    int position = 0;
    std::vector<TFormControlInfo> controls;
    std::string current_file;
    THotSpotClickEvent hot_spot;
    THotSpotEvent hot_spot_descr;
    TGetImageEvent image_request;
    TGetBitmapEvent bitmap_request;
    TPagePrinted print_header;
    TPagePrinted print_footer;
    TFormSubmitEvent form_submit;

  private:
    template <class T, class U>
    void Set(const char* name, T& field, U&& value) {
        calls.push_back(std::string("Set ") + name);
        field = std::forward<U>(value);
    }
};

}  // namespace quillon::testing
