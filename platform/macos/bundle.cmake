# macOS: Glugmo.app, an agent application (no Dock icon, no menu bar; the pet
# lives in the status area of the menu bar) with its pictures in
# Contents/Resources, which the program finds as ../Resources from
# Contents/MacOS. `cmake --install` copies the bundle to the prefix; to give
# it to others, run Qt's macdeployqt on it so it carries Qt with it.
#
# The bundle identifier is also the user defaults domain of the settings:
# QSettings on macOS turns the organisation "Glugmo" (see
# platform/qt/qt_settings_store.cpp) into the domain com.glugmo and appends
# the application name, so the settings live in com.glugmo.Glugmo, readable
# with `defaults read com.glugmo.Glugmo`. The two names must change together.
set(GLUGMO_BUNDLE_ID com.glugmo.Glugmo)

set_target_properties(glugmo PROPERTIES
  MACOSX_BUNDLE TRUE
  OUTPUT_NAME Glugmo
  MACOSX_BUNDLE_INFO_PLIST ${CMAKE_CURRENT_LIST_DIR}/Info.plist.in
  MACOSX_BUNDLE_GUI_IDENTIFIER ${GLUGMO_BUNDLE_ID}
  MACOSX_BUNDLE_BUNDLE_NAME Glugmo
  MACOSX_BUNDLE_BUNDLE_VERSION ${PROJECT_VERSION}
  MACOSX_BUNDLE_SHORT_VERSION_STRING ${PROJECT_VERSION})

# Sources with a package location are copied into the bundle by the build.
set_source_files_properties(${GLUGMO_RESOURCE_FILES} PROPERTIES MACOSX_PACKAGE_LOCATION Resources)
target_sources(glugmo PRIVATE ${GLUGMO_RESOURCE_FILES})
if(GLUGMO_BUBBLE_FONT)
  set_source_files_properties(${GLUGMO_BUBBLE_FONT} PROPERTIES GENERATED TRUE
                              MACOSX_PACKAGE_LOCATION Resources/fonts)
  target_sources(glugmo PRIVATE ${GLUGMO_BUBBLE_FONT})
endif()

install(TARGETS glugmo BUNDLE DESTINATION .)
