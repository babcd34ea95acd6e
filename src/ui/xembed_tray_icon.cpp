#include "ui/xembed_tray_icon.h"

#include <glib.h>
#include <gtk/gtk.h>

#include "ui/tray_pictures.h"

G_GNUC_BEGIN_IGNORE_DEPRECATIONS

namespace tolvan::ui {

XEmbedTrayIcon::XEmbedTrayIcon(Clicked clicked, std::function<void()> embedded)
    : clicked_(std::move(clicked)), embedded_(std::move(embedded)), icon_(gtk_status_icon_new()) {
  gtk_status_icon_set_visible(icon_, FALSE);
  gtk_status_icon_set_title(icon_, "Tolvan");
  gtk_status_icon_set_name(icon_, "tolvan");
  g_signal_connect(icon_, "button-press-event",
                   G_CALLBACK(+[](GtkStatusIcon*, GdkEventButton* event, gpointer self) -> gboolean {
                     if (event->type != GDK_BUTTON_PRESS) return TRUE;  // double: its presses came
                     static_cast<XEmbedTrayIcon*>(self)->clicked_(
                         static_cast<int>(event->button), event->time,
                         (event->state & GDK_CONTROL_MASK) != 0);
                     return TRUE;
                   }),
                   this);
  g_signal_connect(icon_, "size-changed",
                   G_CALLBACK(+[](GtkStatusIcon*, gint size, gpointer self) -> gboolean {
                     static_cast<XEmbedTrayIcon*>(self)->set_picture_for_size(size);
                     return TRUE;
                   }),
                   this);
  g_signal_connect(icon_, "notify::embedded",
                   G_CALLBACK(+[](GObject* icon, GParamSpec*, gpointer self) {
                     auto* tray = static_cast<XEmbedTrayIcon*>(self);
                     if (gtk_status_icon_is_embedded(GTK_STATUS_ICON(icon)) && tray->embedded_)
                       tray->embedded_();
                   }),
                   this);
}

XEmbedTrayIcon::~XEmbedTrayIcon() {
  g_signal_handlers_disconnect_by_data(icon_, this);
  g_object_unref(icon_);
}

void XEmbedTrayIcon::set_picture_for_size(int size) {
  if (size > 0) size_ = size;
  gtk_status_icon_set_from_pixbuf(icon_, tray_picture(picture_, size_)->gobj());
}

void XEmbedTrayIcon::show(TrayPicture picture, const std::string& tooltip) {
  picture_ = picture;
  set_picture_for_size(gtk_status_icon_get_size(icon_));
  gtk_status_icon_set_tooltip_text(icon_, tooltip.c_str());
  gtk_status_icon_set_visible(icon_, TRUE);
}

void XEmbedTrayIcon::hide() { gtk_status_icon_set_visible(icon_, FALSE); }

void XEmbedTrayIcon::set_tooltip_enabled(bool enabled) {
  gtk_status_icon_set_has_tooltip(icon_, enabled);
}

bool XEmbedTrayIcon::embedded() const { return gtk_status_icon_is_embedded(icon_); }

}  // namespace tolvan::ui

G_GNUC_END_IGNORE_DEPRECATIONS
