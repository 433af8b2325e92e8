# Installed layout: the programs and the settings file share one folder (they
# read config.ini beside themselves); links in bin start them.
include(GNUInstallDirs)
set(CT_PROGRAM_DIR lib/choicetask)

# Installs `target` into the program folder with a link to it in bin.
function(ct_install_program target)
  install(TARGETS ${target} RUNTIME DESTINATION ${CT_PROGRAM_DIR})
  file(RELATIVE_PATH to_program ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}
       ${CMAKE_INSTALL_PREFIX}/${CT_PROGRAM_DIR}/${target})
  set(link ${CMAKE_CURRENT_BINARY_DIR}/${target}-link)
  file(CREATE_LINK ${to_program} ${link} SYMBOLIC)
  install(FILES ${link} DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME ${target})
endfunction()
