e.g.;for example
i.e.;that is
&amp;;&
&nbsp;; 
Mr.;Mister
Dr.;Doctor
