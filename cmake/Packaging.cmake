# What the installation holds besides the programs, and the packages CPack
# makes: `cpack -G DEB` on Linux, `cpack -G NSIS` and `cpack -G ZIP` on
# Windows, `cpack -G DragNDrop` on macOS (run from the build folder).

# Where data files go when the program is started from the Windows shortcut
# or the macOS launcher: a folder of this name in the user's Documents.
set(CT_DATA_FOLDER_NAME "choicetask data")

set(_doc_files ${PROJECT_SOURCE_DIR}/docs/experimenter-guide.md ${PROJECT_SOURCE_DIR}/demo/instructions_condition_1.rtf)
install(FILES ${_doc_files} DESTINATION ${CT_DOC_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/images DESTINATION ${CT_DOC_DIR})
# The translation sources, for a lab that adds a language (see the guide).
install(DIRECTORY ${PROJECT_SOURCE_DIR}/translations/ DESTINATION ${CT_DOC_DIR}/translations
  FILES_MATCHING PATTERN "choicetask_*.ts")

if(WIN32 OR APPLE)
  install(FILES ${PROJECT_SOURCE_DIR}/demo/config.ini DESTINATION ${CT_PROGRAM_DIR})
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${CT_DOC_DIR} RENAME copyright.txt)
  # Qt's libraries and plugins beside the program (windeployqt or macdeployqt).
  qt_generate_deploy_app_script(TARGET choicetask OUTPUT_SCRIPT _deploy_script NO_UNSUPPORTED_PLATFORM_ERROR)
  install(SCRIPT ${_deploy_script})
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
