// app sources arrive here
