# The direction of includes between the layers of the program, bottom to top:
#
#   platform/                               what the desktop provides
#   rules/, assets/, rtf/                   the experiment's rules; the pictures;
#                                           the rich-text reader
#   windows/                                the windows and the window flow
#   app/, tools/                            the program; the experimenter's tools
#
# A file includes project headers of its own folder or of a lower layer only.
# The rules are free of widgets on top of that: a file under rules/ includes
# standard headers, Qt Core headers and project headers that are themselves
# free of widgets (they neither include a widget header nor name QWidget),
# through every project header it includes.
#
# Run as a test:
#   cmake -DSOURCE_DIR=<tree> -DQT_CORE_HEADERS=<.../QtCore> -P CheckLayers.cmake
# It prints every offending include and fails when there is one.

cmake_minimum_required(VERSION 3.25)

set(_layers platform rtf rules assets windows app tools)
set(_rank_platform 0)
set(_rank_rules 1)
set(_rank_assets 1)
set(_rank_rtf 1)
set(_rank_windows 2)
set(_rank_app 3)
set(_rank_tools 3)

if(NOT SOURCE_DIR OR NOT QT_CORE_HEADERS)
  message(FATAL_ERROR "usage: cmake -DSOURCE_DIR=... -DQT_CORE_HEADERS=... -P CheckLayers.cmake")
endif()

# Project includes ("folder/file.h") and angle includes (<QString>) of a file.
function(_includes_of file out_project out_angle)
  file(STRINGS ${SOURCE_DIR}/${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  set(project)
  set(angle)
  foreach(line IN LISTS lines)
    if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
      list(APPEND project ${CMAKE_MATCH_1})
    elseif(line MATCHES "#[ \t]*include[ \t]*<([^>]+)>")
      list(APPEND angle ${CMAKE_MATCH_1})
    endif()
  endforeach()
  set(${out_project} ${project} PARENT_SCOPE)
  set(${out_angle} ${angle} PARENT_SCOPE)
endfunction()

# True for a Qt header outside Qt Core: <QtWidgets/...>, <QtGui/...>, or a
# <QClass> header that Qt Core does not have.
function(_is_beyond_qt_core header out)
  set(result FALSE)
  if(header MATCHES "^Qt([A-Za-z]+)/")
    if(NOT CMAKE_MATCH_1 STREQUAL "Core")
      set(result TRUE)
    endif()
  elseif(header MATCHES "^Q[A-Za-z]+$" AND NOT EXISTS ${QT_CORE_HEADERS}/${header})
    set(result TRUE)
  endif()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

set(_problems)

file(GLOB_RECURSE _files RELATIVE ${SOURCE_DIR}
  LIST_DIRECTORIES false
  ${SOURCE_DIR}/platform/*.h ${SOURCE_DIR}/platform/*.cpp
  ${SOURCE_DIR}/rtf/*.h ${SOURCE_DIR}/rtf/*.cpp
  ${SOURCE_DIR}/rules/*.h ${SOURCE_DIR}/rules/*.cpp
  ${SOURCE_DIR}/assets/*.h ${SOURCE_DIR}/assets/*.cpp
  ${SOURCE_DIR}/windows/*.h ${SOURCE_DIR}/windows/*.cpp
  ${SOURCE_DIR}/app/*.h ${SOURCE_DIR}/app/*.cpp
  ${SOURCE_DIR}/tools/*.h ${SOURCE_DIR}/tools/*.cpp)

# Direction: nothing includes a layer above its own, nor a neighbour on its own
# level.
foreach(file IN LISTS _files)
  string(REGEX MATCH "^[^/]+" layer ${file})
  if(DEFINED _layer_of_${layer})
    set(layer ${_layer_of_${layer}})
  endif()
  _includes_of(${file} project angle)
  foreach(included IN LISTS project)
    string(REGEX MATCH "^[^/]+" target_layer ${included})
    if(DEFINED _layer_of_${target_layer})
      set(target_layer ${_layer_of_${target_layer}})
    endif()
    if(NOT target_layer IN_LIST _layers OR target_layer STREQUAL layer)
      continue()
    endif()
    if(NOT _rank_${target_layer} LESS _rank_${layer})
      list(APPEND _problems "${file}: includes \"${included}\" from ${target_layer}/, which is not below ${layer}/")
    endif()
  endforeach()
endforeach()

# Widget-free rules: follow every project header a rules file includes.
foreach(file IN LISTS _files)
  if(NOT file MATCHES "^rules/")
    continue()
  endif()
  set(queue ${file})
  set(seen ${file})
  while(queue)
    list(POP_FRONT queue current)
    _includes_of(${current} project angle)
    if(NOT current STREQUAL file)
      file(STRINGS ${SOURCE_DIR}/${current} widgets REGEX "QWidget")
      if(widgets)
        list(APPEND _problems "${file}: reaches \"${current}\", which is about widgets (it names QWidget)")
      endif()
    endif()
    foreach(header IN LISTS angle)
      _is_beyond_qt_core(${header} beyond)
      if(beyond)
        if(current STREQUAL file)
          list(APPEND _problems "${file}: includes <${header}>, which is not a Qt Core header")
        else()
          list(APPEND _problems "${file}: includes, through \"${current}\", <${header}>, which is not a Qt Core header")
        endif()
      endif()
    endforeach()
    foreach(included IN LISTS project)
      if(NOT included IN_LIST seen AND EXISTS ${SOURCE_DIR}/${included})
        list(APPEND seen ${included})
        list(APPEND queue ${included})
      endif()
    endforeach()
  endwhile()
endforeach()

if(_problems)
  list(REMOVE_DUPLICATES _problems)
  list(JOIN _problems "\n" _text)
  message(FATAL_ERROR "Includes against the direction of the layers:\n${_text}")
endif()
list(LENGTH _files _count)
message(STATUS "Layers: ${_count} files include only downwards; the rules are free of widgets")
