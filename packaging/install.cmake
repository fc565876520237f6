# Installs the pet the freedesktop way: the program in bin/, its pictures in
# share/glugmo/, a desktop entry, and the icon in the hicolor theme.
include(GNUInstallDirs)

# The program finds its pictures from its own folder as ../share/glugmo, with
# no setting to point it elsewhere, so the two folders must stay siblings.
if(NOT CMAKE_INSTALL_BINDIR STREQUAL "bin" OR NOT CMAKE_INSTALL_DATADIR STREQUAL "share")
  message(WARNING "glugmo looks for its pictures in ../share/glugmo beside its own folder; "
                  "CMAKE_INSTALL_BINDIR=${CMAKE_INSTALL_BINDIR} and "
                  "CMAKE_INSTALL_DATADIR=${CMAKE_INSTALL_DATADIR} will not be found that way")
endif()

install(TARGETS glugmo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${GLUGMO_RESOURCE_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/glugmo)
install(FILES ${GLUGMO_TRAY_ICONS} DESTINATION ${CMAKE_INSTALL_DATADIR}/glugmo/icons)
if(GLUGMO_BUBBLE_FONT)
  install(FILES ${GLUGMO_BUBBLE_FONT} DESTINATION ${CMAKE_INSTALL_DATADIR}/glugmo/fonts)
endif()
install(FILES ${CMAKE_CURRENT_LIST_DIR}/glugmo.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# resources/icons/glugmo-<N>.png, drawn by the artwork generator at each size.
file(GLOB GLUGMO_THEME_ICONS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/icons/glugmo-*.png)
foreach(icon IN LISTS GLUGMO_THEME_ICONS)
  string(REGEX REPLACE ".*/glugmo-([0-9]+)\\.png$" "\\1" size ${icon})
  install(FILES ${icon} RENAME glugmo.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
