# The layers of the program and the direction of their links: a library links
# only libraries of lower layers, and the rules link Qt Core at most.
# The include direction is checked by CheckLayers.cmake, run as a test.
# Rank of each library: the Qt-free and widget-free platform parts (files,
# encodings) at the bottom, the platform's widgets above them; the rich-text
# reader beside the rules, on the file and encoding parts, used by the windows.
set(_ct_link_rank_ct_options 0)
set(_ct_link_rank_ct_files 0)
set(_ct_link_rank_ct_encoding 0)
set(_ct_link_rank_ct_rtf 3)
set(_ct_link_rank_ct_platform 2)
set(_ct_link_rank_ct_rules 3)
set(_ct_link_rank_ct_assets 3)
set(_ct_link_rank_ct_windows 4)
set(_ct_link_rank_ct_app 5)
set(_ct_link_rank_ct_report 5)

function(ct_check_layer_links)
  foreach(target ct_files ct_encoding ct_rtf ct_platform ct_rules ct_assets ct_windows ct_app ct_report)
    get_target_property(links ${target} LINK_LIBRARIES)
    foreach(link IN LISTS links)
      if(DEFINED _ct_link_rank_${link})
        if(NOT _ct_link_rank_${link} LESS _ct_link_rank_${target} AND NOT link STREQUAL "ct_options")
          message(FATAL_ERROR "${target} links ${link}, which is not in a lower layer")
        endif()
      endif()
    endforeach()
  endforeach()
  get_target_property(links ct_rules LINK_LIBRARIES)
  foreach(link IN LISTS links)
    if(link MATCHES "^Qt6::" AND NOT link STREQUAL "Qt6::Core")
      message(FATAL_ERROR "ct_rules links ${link}: the rules link Qt Core at most")
    endif()
    if(DEFINED _ct_link_rank_${link})
      get_target_property(link_links ${link} LINK_LIBRARIES)
      if(link_links MATCHES "Qt6::(Gui|Widgets)")
        message(FATAL_ERROR "ct_rules links ${link}, which brings in Qt Gui or Widgets")
      endif()
    endif()
  endforeach()
endfunction()

# The include check as a test.
function(ct_add_layer_test)
  get_target_property(qt_dirs Qt6::Core INTERFACE_INCLUDE_DIRECTORIES)
  list(FILTER qt_dirs INCLUDE REGEX "/QtCore$")
  add_test(NAME layers.include_direction
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DQT_CORE_HEADERS=${qt_dirs}
            -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake)
  # The check itself refuses a rules header that includes a widget header.
  set(bad ${CMAKE_BINARY_DIR}/layers-check)
  file(WRITE ${bad}/rules/bad.h "#pragma once\n#include <QLabel>\n")
  file(WRITE ${bad}/rules/bad.cpp "#include \"rules/bad.h\"\n#include \"windows/window.h\"\n")
  add_test(NAME layers.check_refuses_widgets_in_rules
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${bad} -DQT_CORE_HEADERS=${qt_dirs}
            -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake)
  set_tests_properties(layers.check_refuses_widgets_in_rules PROPERTIES PASS_REGULAR_EXPRESSION
    "rules/bad.cpp: includes \"windows/window.h\" from windows/.*rules/bad.cpp: includes, through \"rules/bad.h\", <QLabel>")
endfunction()
