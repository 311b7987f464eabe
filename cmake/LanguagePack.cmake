# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the packer's list of a language pack: the catalogue, when given, as
# lang/vellomar.mo with assetgen's list of the words left English beside it,
# and the pictures assetgen drew for the language (named in
# NAMES, found under PICTURES) by the names of the main pack, scrambled when
# the main pack scrambles them (SCRAMBLED, comma-separated).
#   cmake -DNAMES=... -DPICTURES=... [-DCATALOGUE=...] -DSCRAMBLED=... -DLIST=... -P LanguagePack.cmake
cmake_minimum_required(VERSION 3.25)
file(STRINGS ${NAMES} names)
string(REPLACE "," ";" scrambled "${SCRAMBLED}")
set(lines)
if(CATALOGUE)
  list(APPEND lines "n lang/vellomar.mo ${CATALOGUE}"
                    "n lang/untranslated.txt ${PICTURES}/lang/untranslated.txt")
endif()
foreach(name IN LISTS names)
  set(flag n)
  if(name IN_LIST scrambled)
    set(flag y)
  endif()
  list(APPEND lines "${flag} ${name} ${PICTURES}/${name}")
endforeach()
list(JOIN lines "\n" text)
file(WRITE ${LIST} "${text}\n")
