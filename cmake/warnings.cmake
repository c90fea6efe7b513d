# SPDX-License-Identifier: GPL-3.0-or-later
# The one warnings setting for every target of the project, its benchmarks included. The C of the
# test shim (a GNU preload built on dlsym) is held to -Wall -Wextra alone.
add_compile_options(-Wall -Wextra $<$<COMPILE_LANGUAGE:CXX>:-Wpedantic>)
