// icons.cpp -- icons and bitmaps from the embedded resources.
#include "platform/wx/icons.h"

#include "platform/gdi.h"
#include "platform/resource.h"

#include <wx/mstream.h>

#include <gtk/gtk.h>

wxMemoryBuffer IconPng(unsigned id, int size)
{
    const EmbeddedResource* res = nullptr;
    if (size == 32) {
        res = FindResourceById("ICON", id);
    } else {
        char name[32];
        snprintf(name, sizeof name, "APP_ICON_%u_16", id);
        res = FindResourceByName("ICON", name);
    }
    wxMemoryBuffer buffer;
    if (res != nullptr)
        buffer.AppendData(res->data, res->size);
    return buffer;
}

wxIconBundle LoadIconGroup(unsigned id)
{
    wxIconBundle bundle;
    for (int size : {32, 16}) {
        wxMemoryBuffer png = IconPng(id, size);
        if (png.IsEmpty())
            continue;
        wxMemoryInputStream in(png.GetData(), png.GetDataLen());
        wxImage image(in, wxBITMAP_TYPE_PNG);
        if (image.IsOk()) {
            wxIcon icon;
            icon.CopyFromBitmap(wxBitmap(image));
            bundle.AddIcon(icon);
        }
    }
    return bundle;
}

void SetDefaultWindowIcons(unsigned id)
{
    const wxIconBundle icons = LoadIconGroup(id);
    GList* pixbufs = nullptr;
    for (size_t i = 0; i < icons.GetIconCount(); i++)
        pixbufs = g_list_append(pixbufs, icons.GetIconByIndex(i).GetPixbuf());
    // The toolkit keeps its own references to the pictures.
    gtk_window_set_default_icon_list(pixbufs);
    g_list_free(pixbufs);
}

wxImage LoadBitmapImage(unsigned id)
{
    CBitmap bitmap;
    bitmap.LoadBitmap(id);
    return ImageOfBitmap(bitmap);
}

wxImage LoadToolbarStrip(unsigned id)
{
    wxImage image = LoadBitmapImage(id);
    if (image.IsOk()) {
        image.SetMaskColour(192, 192, 192);
        image.InitAlpha(); // the mask becomes alpha, which the toolkit's pictures keep
    }
    return image;
}

wxImage ImageOfBitmap(const CBitmap& bitmap)
{
    if (bitmap.GetSurface() == nullptr || bitmap.GetSurface()->IsEmpty())
        return wxImage();
    const Surface& s = *bitmap.GetSurface();
    wxImage image(s.Width(), s.Height(), false);
    unsigned char* rgb = image.GetData();
    for (int y = 0; y < s.Height(); y++) {
        for (int x = 0; x < s.Width(); x++, rgb += 3) {
            COLORREF c = s.Pixel(x, y);
            rgb[0] = GetRValue(c);
            rgb[1] = GetGValue(c);
            rgb[2] = GetBValue(c);
        }
    }
    return image;
}
