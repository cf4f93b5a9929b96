#include "documents.h"

using namespace Qt::StringLiterals;

namespace plintex::gen {

QString bashCompletion(const QList<FunctionView> &functions)
{
    QStringList slugs;
    QString cases;
    for (const FunctionView &f : functions) {
        slugs += f.slug;
        QStringList options;
        QStringList fileOptions;
        for (const OptionView &o : f.options) {
            options += u"--"_s + o.name + (o.takesValue ? u"="_s : QString());
            if (o.valueIsFile)
                fileOptions += u"--"_s + o.name;
        }
        cases += u"    "_s + f.slug + u")\n        opts=\""_s + options.join(u' ') +
                 u"\"\n        fileopts=\""_s + fileOptions.join(u' ') + u"\"\n        ;;\n"_s;
    }

    return uR"(# bash completion for plintex-cli, generated from its function catalogue.

_plintex_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    local fn="" i
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
        -*) ;;
        *) fn=${COMP_WORDS[i]}; break ;;
        esac
    done
    if [[ ${COMP_WORDS[1]} == --recipe* ]]; then
        # --recipe=RECIPE [--output=FILE | --in-place] [FILE]: every value is a file.
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W "--recipe= --output= --in-place" -- "$cur"))
            [[ ${#COMPREPLY[@]} -eq 1 && ${COMPREPLY[0]} == *= ]] && compopt -o nospace 2>/dev/null
        else
            [[ $cur == = ]] && cur=""
            compopt -o filenames 2>/dev/null
            COMPREPLY=($(compgen -f -- "$cur"))
        fi
        return
    fi
    if [[ -z $fn ]]; then
        COMPREPLY=($(compgen -W "--list --help --version --recipe= )"_s +
           slugs.join(u' ') + uR"(" -- "$cur"))
        [[ ${#COMPREPLY[@]} -eq 1 && ${COMPREPLY[0]} == *= ]] && compopt -o nospace 2>/dev/null
        return
    fi

    local opts="" fileopts=""
    case $fn in
)"_s + cases +
           uR"(    *) return ;;
    esac

    # Bash splits "--name=value" at "=": the option is then the word before the "=".
    local opt=""
    if [[ $cur == = ]]; then
        opt=$prev
        cur=""
    elif [[ $prev == = && $COMP_CWORD -ge 2 ]]; then
        opt=${COMP_WORDS[COMP_CWORD-2]}
    elif [[ $prev == --* && " $opts " == *" $prev= "* ]]; then
        opt=$prev
    fi
    if [[ -n $opt ]]; then
        if [[ " $fileopts " == *" $opt "* ]]; then
            compopt -o filenames 2>/dev/null
            COMPREPLY=($(compgen -f -- "$cur"))
        else
            COMPREPLY=()
        fi
        return
    fi

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$opts" -- "$cur"))
        [[ ${#COMPREPLY[@]} -eq 1 && ${COMPREPLY[0]} == *= ]] && compopt -o nospace 2>/dev/null
    else
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -f -- "$cur"))
    fi
}
complete -F _plintex_cli plintex-cli
)"_s;
}

} // namespace plintex::gen
