#!/bin/sh
# Runs stampa in Chinese for help2man, with the headings of its help
# ("用法：", "选项：", ...) ending in the ASCII colon help2man's own Chinese
# translation looks for; the texts themselves are left as they are.
STAMPA_LANG=zh "$@" | sed 's/^\(用法\|选项\|环境\|文件\|示例\)：/\1: /'
