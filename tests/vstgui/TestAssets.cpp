#include "TestAssets.h"

#include <cairo.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace TestAssets {

const std::string& directory()
{
    static const std::string dir = std::string(VSTGUI_TEST_OUTPUT_DIR);
    return dir;
}

VSTGUI::CColor frameColor(int frame)
{
    return VSTGUI::CColor(static_cast<uint8_t>(frame * 3), static_cast<uint8_t>(255 - frame * 3), 128, 255);
}

namespace {
// Test processes run side by side and each writes the assets at start: every file is written
// under a name of this process's own and renamed into place, so no reader sees half a file.
std::string scratchName(const std::string& path) { return path + ".part" + std::to_string(getpid()); }

void publish(const std::string& path) { std::rename(scratchName(path).c_str(), path.c_str()); }

void writeText(const std::string& path, const std::string& text)
{
    std::ofstream(scratchName(path)) << text;
    publish(path);
}

void writeStrip(const std::string& path, int frames, int size,
                const std::function<VSTGUI::CColor(int)>& color)
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size * frames);
    cairo_t* cr = cairo_create(s);
    for (int k = 0; k < frames; ++k)
    {
        const VSTGUI::CColor c = color(k);
        cairo_set_source_rgba(cr, c.normRed(), c.normGreen(), c.normBlue(), c.normAlpha());
        cairo_rectangle(cr, 0, k * size, size, size);
        cairo_fill(cr);
    }
    cairo_destroy(cr);
    cairo_surface_write_to_png(s, scratchName(path).c_str());
    cairo_surface_destroy(s);
    publish(path);
}
} // namespace

std::string descriptionText()
{
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<vstgui-ui-description version="1">
  <fonts>
    <font name="Verdana 14 bold ital" font-name="Verdana" size="14" bold="true" italic="true"/>
  </fonts>
  <colors>
    <color name="panel" rgba="#203040ff"/>
  </colors>
  <bitmaps>
    <bitmap name="strip" path="strip.png"/>
    <bitmap name="switch" path="switch.png"/>
    <bitmap name="texture" path="texture.png" nineparttiled-offsets="0, 0, 0, 0"/>
    <bitmap name="gone" path="does-not-exist.png"/>
  </bitmaps>
  <control-tags>
    <control-tag name="Gain" tag="0"/>
    <control-tag name="Position" tag="1"/>
    <control-tag name="Decay" tag="8"/>
  </control-tags>
  <template name="Editor" class="CViewContainer" size="200, 150" minSize="200, 150" maxSize="200, 150"
            background-color="~ GreyCColor" background-color-draw-style="filled and stroked" transparent="false">
    <view class="CViewContainer" template="Panel" origin="10, 10" size="180, 130" background-color="panel"/>
    <view class="CTextLabel" origin="-15, 130" size="100, 16" title="S" font="~ NormalFont" text-alignment="center"
          transparent="true" font-color="~ BlackCColor"/>
  </template>
  <template name="Panel" class="CViewContainer" size="180, 130" bitmap="texture" transparent="false"
            tovutemplate-type="userViewContainer">
    <view class="CViewContainer" template="KnobGroup" origin="20, 10" size="75, 85"/>
    <view class="CViewContainer" origin="100, 10" size="70, 80" transparent="true" background-color="">
      <view class="COnOffButton" origin="10, 20" size="42, 42" control-tag="Decay" bitmap="switch"
            height-of-one-image="42" min-value="0" max-value="1" default-value="0" custom-view-name=""/>
    </view>
    <view class="COptionMenu" origin="10, 90" size="42, 20" control-tag="Position" font="~ NormalFontSmaller"
          font-color="~ WhiteCColor" back-color="~ BlackCColor" style-round-rect="true" style-no-frame="true"
          title="SEL 1" sub-controller=""/>
    <view class="CTextEdit" origin="100, 90" size="60, 20" control-tag="Gain" font="~ NormalFontSmaller"
          back-color="~ BlackCColor" font-color="~ WhiteCColor"/>
    <view class="CGadgetNobodyKnows" origin="0, 0" size="10, 10"/>
    <view class="CAnimKnob" origin="150, 100" size="20, 20" bitmap="gone" height-of-one-image="20"/>
  </template>
  <template name="KnobGroup" class="CViewContainer" size="75, 85" transparent="true" tovutemplate-type="knobgroup">
    <view class="CTextLabel" origin="0, 5" size="75, 15" title="Master Vol" font="Verdana 14 bold ital"
          transparent="true" font-color="~ WhiteCColor"/>
    <view class="CAnimKnob" origin="9, 20" size="42, 42" control-tag="Gain" bitmap="strip" height-of-one-image="42"
          sub-pixmaps="80" angle-start="135" angle-range="270" zoom-factor="1.5" wheel-inc-value="0.1"
          default-value="0.5" corona-drawing="false" handle-color="~ WhiteCColor"/>
  </template>
</vstgui-ui-description>
)";
}

const std::string& prepare()
{
    static bool done = false;
    if (!done)
    {
        mkdir(directory().c_str(), 0755);
        writeStrip(directory() + "/strip.png", 80, 42, frameColor);
        writeStrip(directory() + "/switch.png", 2, 42, [](int k) { return k ? kSwitchOn : kSwitchOff; });
        writeStrip(directory() + "/texture.png", 1, 16, [](int) { return VSTGUI::CColor(90, 90, 100, 255); });
        writeText(directory() + "/test.uidesc", descriptionText());
        writeText(directory() + "/pad.uidesc", R"(<vstgui-ui-description version="1">
  <template name="Editor" class="CViewContainer" size="120, 120">
    <view class="CViewContainer" sub-controller="Pad" origin="10, 10" size="100, 100">
      <view class="CXYPad" origin="0, 0" size="100, 100" round-rect-radius="0" back-color="~ BlackCColor"
            font-color="~ WhiteCColor"/>
    </view>
  </template>
</vstgui-ui-description>
)");
        done = true;
    }
    return directory();
}

} // namespace TestAssets
