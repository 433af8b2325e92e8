# Installed layout. Every program reads config.ini beside its executable, but
# in the macOS application.
#  Linux:   the programs in lib/choicetask with links in bin; config.ini in
#           /etc/choicetask (a configuration file of the package) with a link
#           beside the programs.
#  Windows: one folder: the programs, config.ini and Qt's libraries; no links.
#  macOS:   choicetask.app, with the commands beside the program inside the
#           bundle; config.ini in ~/Library/Application Support/choicetask,
#           where the program puts the sample when none is there.
include(GNUInstallDirs)
if(APPLE)
  set(CT_PROGRAM_DIR choicetask.app/Contents/MacOS)
elseif(WIN32)
  set(CT_PROGRAM_DIR .)
else()
  set(CT_PROGRAM_DIR lib/choicetask)
endif()
set(CT_DOC_DIR ${CMAKE_INSTALL_DOCDIR})
if(WIN32 OR APPLE)
  set(CT_DOC_DIR docs)
endif()

# A symbolic link installed at `destination`/`name`, pointing to `target`.
function(ct_install_link target destination name)
  set(link ${CMAKE_CURRENT_BINARY_DIR}/links/${name})
  file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/links)
  file(CREATE_LINK ${target} ${link} SYMBOLIC)
  install(FILES ${link} DESTINATION ${destination})
endfunction()

# Installs `target` into the program folder (with a link to it in bin on Linux).
function(ct_install_program target)
  if(APPLE AND target STREQUAL "choicetask")
    install(TARGETS ${target} BUNDLE DESTINATION .)
    return()
  endif()
  if(APPLE)
    # The commands sit beside the program in choicetask.app and use the Qt
    # frameworks Qt's deploy step puts into the bundle for the program.
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "@executable_path/../Frameworks")
  endif()
  install(TARGETS ${target} RUNTIME DESTINATION ${CT_PROGRAM_DIR})
  if(NOT WIN32 AND NOT APPLE)
    # Stripped for a package, the programs also lose the sections Debian's
    # own tools take out: the compilers' names (.comment) and .note.
    install(CODE "
      if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment --remove-section=.note
          \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CT_PROGRAM_DIR}/${target}\" COMMAND_ERROR_IS_FATAL ANY)
      endif()")
    file(RELATIVE_PATH to_program ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}
         ${CMAKE_INSTALL_PREFIX}/${CT_PROGRAM_DIR}/${target})
    ct_install_link(${to_program} ${CMAKE_INSTALL_BINDIR} ${target})
  endif()
endfunction()
