// Pictures loaded from bitmap, icon and metafile files, and drawn onto a canvas.
#pragma once

#include "classes.h"
#include "graphics.h"

#include <windows.h>

#include <string>
#include <vector>

enum class TGraphicKind { None, Bitmap, Icon, Metafile, EnhMetafile };

class TPicture : public TObject {
public:
    TPicture() = default;
    ~TPicture() override;

    // Runs after every change of the picture.
    TNotifyEvent OnChange;

    // Loads a file by its extension, compared without case: "bmp", "ico", "wmf" (placeable or
    // plain) or "emf". On failure the picture stays as it was and EInvalidGraphic (unknown
    // extension, damaged contents) or EFOpenError (missing or unreadable file) is raised.
    void LoadFromFile(const std::string& path);
    // Takes a bitmap or icon resource of a module (the program's own by default); raises
    // EInvalidGraphic when there is none of that name.
    void LoadBitmapResource(const std::string& name, HINSTANCE instance = nullptr);
    void LoadIconResource(const std::string& name, HINSTANCE instance = nullptr);
    // Makes the picture empty.
    void Clear();

    TGraphicKind Kind() const { return kind_; }
    bool Empty() const { return kind_ == TGraphicKind::None; }
    // The picture's own size in screen pixels; 0 when empty. A placeable metafile is as large
    // as its bounds at its units per inch, a plain one as its window extent (without one, as
    // GDI sizes it when converting), an enhanced one as its frame.
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Bitmaps and metafiles are stretched to the rectangle; an icon is drawn at its own size
    // at the rectangle's top-left corner.
    void Draw(TCanvas& canvas, const RECT& area) const;

private:
    struct Loaded;
    void Take(Loaded& loaded);
    void Release();

    TGraphicKind kind_ = TGraphicKind::None;
    int width_ = 0;
    int height_ = 0;
    // A bitmap: a packed device-independent bitmap (header, colour table, pixels).
    std::vector<unsigned char> dib_;
    HICON icon_ = nullptr;
    HENHMETAFILE metafile_ = nullptr;
};
