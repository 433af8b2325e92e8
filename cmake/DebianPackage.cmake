# The Debian package's files besides the programs (included by Packaging on
# Linux): the settings file under /etc, the desktop entry with its icons, the
# manual pages, the copyright file and the changelog.

# The settings file is a configuration file of the package under /etc;
# the link beside the programs keeps it where they read it.
# An installation never overwrites a config.ini that is there already.
set(CHOICETASK_SETTINGS_DIR /etc/choicetask CACHE PATH "Where the installed config.ini lives (Linux)")
install(CODE "
  if(EXISTS \"\$ENV{DESTDIR}${CHOICETASK_SETTINGS_DIR}/config.ini\")
    message(STATUS \"Kept: \$ENV{DESTDIR}${CHOICETASK_SETTINGS_DIR}/config.ini\")
  else()
    file(INSTALL \"${PROJECT_SOURCE_DIR}/demo/config.ini\" DESTINATION \"${CHOICETASK_SETTINGS_DIR}\")
  endif()")
ct_install_link(${CHOICETASK_SETTINGS_DIR}/config.ini ${CT_PROGRAM_DIR} config.ini)
install(FILES ${PROJECT_SOURCE_DIR}/app/choicetask.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${CT_DOC_DIR})
# Debian wants the changelog compressed, byte for byte the same each time.
find_program(GZIP gzip REQUIRED)
set(_changelog ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${_changelog}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
  COMMAND ${GZIP} -9nc ${PROJECT_SOURCE_DIR}/packaging/changelog > ${_changelog}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog)
add_custom_target(ct_changelog ALL DEPENDS ${_changelog})
install(FILES ${_changelog} DESTINATION ${CT_DOC_DIR})

# The menu entry starts the program in the study folder; its icon at the sizes
# desktops use, and scalable.
install(FILES ${CT_ICON_DIR}/icon.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps RENAME choicetask.png)
foreach(size IN LISTS CT_ICON_SIZES)
  install(FILES ${CT_ICON_DIR}/icon_${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME choicetask.png)
endforeach()
install(FILES ${CT_ICON_DIR}/icon.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
  RENAME choicetask.svg)

# A manual page for each command, compressed as Debian wants them.
set(_man_pages)
foreach(command choicetask choicetask-report choicetask-simulate)
  set(_page ${CMAKE_BINARY_DIR}/packaging/man/${command}.1.gz)
  add_custom_command(OUTPUT ${_page}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging/man
    COMMAND ${GZIP} -9nc ${PROJECT_SOURCE_DIR}/packaging/man/${command}.1 > ${_page}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/man/${command}.1)
  list(APPEND _man_pages ${_page})
endforeach()
add_custom_target(ct_man_pages ALL DEPENDS ${_man_pages})
install(FILES ${_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# What lintian reports wrongly about the package, each with its reason.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
  RENAME choicetask)
