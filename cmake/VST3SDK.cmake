# The VST3 SDK sources the plug-in needs, built into static libraries.
# Default: the SDK 3.7.2 subset shipped by Debian's juce-modules-source-data.
set(_tessaline_default_sdk /usr/share/juce/modules/juce_audio_processors/format_types/VST3_SDK)
set(VST3_SDK_ROOT "${_tessaline_default_sdk}" CACHE PATH "Root of a VST3 SDK (pluginterfaces, base, public.sdk)")

if(NOT EXISTS "${VST3_SDK_ROOT}/pluginterfaces/base/funknown.h"
   OR NOT EXISTS "${VST3_SDK_ROOT}/public.sdk/source/vst/vsteditcontroller.cpp")
  message(FATAL_ERROR
    "No VST3 SDK found at '${VST3_SDK_ROOT}'. Install the Debian package "
    "juce-modules-source-data (run tools/bootstrap.sh) or pass -DVST3_SDK_ROOT=<path to a VST3 SDK>.")
endif()

set(_sdk ${VST3_SDK_ROOT})
add_library(vst3sdk STATIC
  ${_sdk}/base/source/baseiids.cpp
  ${_sdk}/base/source/fbuffer.cpp
  ${_sdk}/base/source/fdebug.cpp
  ${_sdk}/base/source/fobject.cpp
  ${_sdk}/base/source/fstreamer.cpp
  ${_sdk}/base/source/fstring.cpp
  ${_sdk}/base/source/updatehandler.cpp
  ${_sdk}/base/thread/source/flock.cpp
  ${_sdk}/pluginterfaces/base/conststringtable.cpp
  ${_sdk}/pluginterfaces/base/coreiids.cpp
  ${_sdk}/pluginterfaces/base/funknown.cpp
  ${_sdk}/pluginterfaces/base/ustring.cpp
  ${_sdk}/public.sdk/source/common/memorystream.cpp
  ${_sdk}/public.sdk/source/common/pluginview.cpp
  ${_sdk}/public.sdk/source/vst/vstbus.cpp
  ${_sdk}/public.sdk/source/vst/vstcomponent.cpp
  ${_sdk}/public.sdk/source/vst/vstcomponentbase.cpp
  ${_sdk}/public.sdk/source/vst/vsteditcontroller.cpp
  ${_sdk}/public.sdk/source/vst/vstinitiids.cpp
  ${_sdk}/public.sdk/source/vst/vstparameters.cpp
  ${_sdk}/public.sdk/source/vst/vstpresetfile.cpp
)
target_include_directories(vst3sdk SYSTEM PUBLIC ${_sdk})
target_compile_definitions(vst3sdk PUBLIC $<IF:$<CONFIG:Debug>,DEVELOPMENT=1,RELEASE=1>)
target_compile_options(vst3sdk PRIVATE -w)
find_package(Threads REQUIRED)
target_link_libraries(vst3sdk PUBLIC Threads::Threads)

# Host-side helpers (host application, attribute lists, messages) for our test host.
add_library(vst3sdk_hosting STATIC
  ${_sdk}/public.sdk/source/vst/hosting/hostclasses.cpp
  ${_sdk}/public.sdk/source/vst/hosting/pluginterfacesupport.cpp
)
target_link_libraries(vst3sdk_hosting PUBLIC vst3sdk)
target_compile_options(vst3sdk_hosting PRIVATE -w)
