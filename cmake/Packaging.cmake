# What the installation holds besides the programs, and the packages CPack
# makes: `cpack -G DEB` on Linux, `cpack -G NSIS` and `cpack -G ZIP` on
# Windows, `cpack -G DragNDrop` on macOS (run from the build folder).

# Where data files go when the program is started from the Windows shortcut
# or the macOS application: a folder of this name in the user's Documents.
set(CT_DATA_FOLDER_NAME "choicetask data")

set(_doc_files ${PROJECT_SOURCE_DIR}/docs/experimenter-guide.md ${PROJECT_SOURCE_DIR}/demo/instructions_condition_1.rtf)
install(FILES ${_doc_files} DESTINATION ${CT_DOC_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/images DESTINATION ${CT_DOC_DIR})
# The translation sources, for a lab that adds a language (see the guide).
install(DIRECTORY ${PROJECT_SOURCE_DIR}/translations/ DESTINATION ${CT_DOC_DIR}/translations
  FILES_MATCHING PATTERN "choicetask_*.ts")

if(WIN32)
  # The sample settings file goes to docs/; the installer copies it beside the
  # programs only where no config.ini is, and its uninstaller never removes
  # config.ini: the lab's settings survive upgrades and uninstalling. The ZIP
  # archive carries it ready beside the programs (WindowsArchive.cmake).
  install(FILES ${PROJECT_SOURCE_DIR}/demo/config.ini DESTINATION ${CT_DOC_DIR})
  set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/WindowsArchive.cmake)
elseif(APPLE)
  # The sample settings file goes to docs/: the application puts it into its
  # settings folder (~/Library/Application Support/choicetask) when none is
  # there, where dragging a newer choicetask.app over the old one cannot
  # reach it.
  install(FILES ${PROJECT_SOURCE_DIR}/demo/config.ini DESTINATION ${CT_DOC_DIR})
endif()
if(WIN32 OR APPLE)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${CT_DOC_DIR} RENAME copyright.txt)
  if(WIN32 AND CMAKE_CROSSCOMPILING)
    # Built on Linux for Windows (windeployqt runs only on Windows): Qt's
    # libraries, the plugins the program loads (the Windows platform, the
    # native look, JPEG pictures in instruction files) and the MinGW runtime,
    # put beside the programs in the build folder, so that they start from
    # there, stripped of their symbols (two thirds of their size),
    # and installed from there.
    set(_runtime)
    foreach(_file Qt6::Core Qt6::Gui Qt6::Widgets ${CHOICETASK_WINDOWS_RUNTIME_DLLS} platforms:QWindowsIntegrationPlugin
                  styles:QWindowsVistaStylePlugin imageformats:QJpegPlugin)
      set(_folder .)
      if(_file MATCHES "^([a-z]+):(.+)$")
        set(_folder ${CMAKE_MATCH_1})
        set(_file Qt6::${CMAKE_MATCH_2})
      endif()
      set(_source ${_file})
      if(TARGET ${_file})
        get_target_property(_source ${_file} LOCATION)
      endif()
      cmake_path(GET _source FILENAME _name)
      set(_copy ${CMAKE_BINARY_DIR}/${_folder}/${_name})
      add_custom_command(OUTPUT ${_copy}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/${_folder}
        COMMAND ${CMAKE_STRIP} -o ${_copy} ${_source}
        DEPENDS ${_source} VERBATIM)
      install(FILES ${_copy} DESTINATION ${CT_PROGRAM_DIR}/${_folder})
      list(APPEND _runtime ${_copy})
    endforeach()
    add_custom_target(ct_windows_runtime ALL DEPENDS ${_runtime})
  else()
    # Qt's libraries and plugins beside the program (windeployqt or macdeployqt).
    if(Qt6_VERSION VERSION_LESS 6.5)
      qt_generate_deploy_app_script(TARGET choicetask FILENAME_VARIABLE _deploy_script NO_UNSUPPORTED_PLATFORM_ERROR)
    else()
      qt_generate_deploy_app_script(TARGET choicetask OUTPUT_SCRIPT _deploy_script NO_UNSUPPORTED_PLATFORM_ERROR)
    endif()
    install(SCRIPT ${_deploy_script})
  endif()
else()
  include(DebianPackage)
endif()

set(CPACK_PACKAGE_NAME choicetask)
set(CPACK_PACKAGE_VENDOR "choicetask developers")
set(CPACK_PACKAGE_CONTACT "choicetask developers <maintainers@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Repeated-choice experiment for one participant")
set(CPACK_PACKAGE_DESCRIPTION "Runs one participant through eight games of a two-button choice task
and writes every trial to <ID>.csv in the folder it is started in.
Includes choicetask-report (earnings from a data file) and
choicetask-simulate (data files from scripted participants).")
set(CPACK_PACKAGE_INSTALL_DIRECTORY choicetask)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR NSIS ZIP)
  set(CPACK_NSIS_DISPLAY_NAME choicetask)
  set(CPACK_NSIS_PACKAGE_NAME choicetask)
  set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  # A 64-bit installer where makensis has the stubs for one (Debian's has):
  # it also runs under a 64-bit-only Wine.
  if(CMAKE_HOST_UNIX AND EXISTS /usr/share/nsis/Stubs/lzma_solid-amd64-unicode)
    set(CPACK_NSIS_DEFINES "Target amd64-unicode")
  endif()
  set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
    IfFileExists '$INSTDIR\\config.ini' +2 0
    CopyFiles /SILENT '$INSTDIR\\docs\\config.ini' '$INSTDIR\\config.ini'")
  # The Start menu shortcut starts the program in the data folder (the working
  # folder of a shortcut is the output folder when it is made), which gets
  # the sample instruction file once.
  set(_data "$DOCUMENTS\\\\${CT_DATA_FOLDER_NAME}")
  set(CPACK_NSIS_CREATE_ICONS_EXTRA "
    CreateDirectory '${_data}'
    IfFileExists '${_data}\\\\instructions_condition_1.rtf' +2 0
    CopyFiles /SILENT '$INSTDIR\\\\docs\\\\instructions_condition_1.rtf' '${_data}'
    SetOutPath '${_data}'
    CreateShortCut '$SMPROGRAMS\\\\$STARTMENU_FOLDER\\\\choicetask.lnk' '$INSTDIR\\\\choicetask.exe'
    CreateShortCut '$SMPROGRAMS\\\\$STARTMENU_FOLDER\\\\choicetask data folder.lnk' '${_data}'
    CreateShortCut '$SMPROGRAMS\\\\$STARTMENU_FOLDER\\\\Settings (config.ini).lnk' '$INSTDIR\\\\config.ini'
    SetOutPath '$INSTDIR'")
  set(CPACK_NSIS_DELETE_ICONS_EXTRA "
    Delete '$SMPROGRAMS\\\\$MUI_TEMP\\\\choicetask.lnk'
    Delete '$SMPROGRAMS\\\\$MUI_TEMP\\\\choicetask data folder.lnk'
    Delete '$SMPROGRAMS\\\\$MUI_TEMP\\\\Settings (config.ini).lnk'")
elseif(APPLE)
  set(CPACK_GENERATOR DragNDrop)
  set(CPACK_DMG_VOLUME_NAME choicetask)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION science)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The xcb platform plugin is loaded at run time, so no library names it.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/conffiles)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endif()
include(CPack)
