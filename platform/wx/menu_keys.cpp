// menu_keys.cpp -- key texts beside menu labels, with GTK.
#include "platform/wx/menu_keys.h"

#include <gtk/gtk.h>

namespace {
const char* const kKeyLabelName = "tavrolu-key-text";
}

void ShowMenuKeyText(wxMenuItem* item, const wxString& keyText)
{
    GtkWidget* menuItem = item->GetMenuItem();
    if (menuItem == nullptr || keyText.empty())
        return;
    GtkWidget* label = gtk_bin_get_child(GTK_BIN(menuItem));
    if (label == nullptr)
        return;
    // The item's own label stays (it keeps the mnemonic), beside it in a box.
    g_object_ref(label);
    gtk_container_remove(GTK_CONTAINER(menuItem), label);
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 24);
    gtk_box_pack_start(GTK_BOX(box), label, TRUE, TRUE, 0);
    g_object_unref(label);
    GtkWidget* key = gtk_label_new(keyText.utf8_str());
    gtk_widget_set_name(key, kKeyLabelName);
    gtk_style_context_add_class(gtk_widget_get_style_context(key), "accelerator");
    gtk_widget_set_halign(key, GTK_ALIGN_END);
    gtk_box_pack_end(GTK_BOX(box), key, FALSE, FALSE, 0);
    gtk_widget_show_all(box);
    gtk_container_add(GTK_CONTAINER(menuItem), box);
}

wxString GetMenuKeyText(wxMenuItem* item)
{
    GtkWidget* menuItem = item->GetMenuItem();
    GtkWidget* child = menuItem ? gtk_bin_get_child(GTK_BIN(menuItem)) : nullptr;
    if (child == nullptr || !GTK_IS_BOX(child))
        return wxString();
    wxString text;
    GList* children = gtk_container_get_children(GTK_CONTAINER(child));
    for (GList* l = children; l != nullptr; l = l->next) {
        GtkWidget* w = GTK_WIDGET(l->data);
        if (g_strcmp0(gtk_widget_get_name(w), kKeyLabelName) == 0)
            text = wxString::FromUTF8(gtk_label_get_text(GTK_LABEL(w)));
    }
    g_list_free(children);
    return text;
}
